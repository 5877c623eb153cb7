#pragma once

#include <string>
#include <string_view>

namespace lumivert {

// The lines of the conversion log, as GBK text.

// "调入：7.jpg (宽:320  高:240)": `name` is the picture number as typed.
std::string loadedLine(std::string_view name, int width, int height);
std::string tooLargeLine();             // "高度或宽度超过1500，未处理"
std::string finishedLine();             // "处理完成！"
std::string numberOutsideLine();        // "图片编号超出1-511，未处理"
std::string regionFullLine(int number); // "图形数据区已满，第<n>张起的像素未写入"

} // namespace lumivert
