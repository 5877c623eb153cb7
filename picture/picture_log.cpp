#include "picture/picture_log.h"

#include "common/gbk.h"

namespace lumivert {

std::string loadedLine(std::string_view name, int width, int height) {
    return utf8ToGbk("调入：") + std::string(name) +
           utf8ToGbk(".jpg (宽:" + std::to_string(width) + "  高:" + std::to_string(height) + ")");
}

std::string tooLargeLine() {
    return utf8ToGbk("高度或宽度超过1500，未处理");
}

std::string finishedLine() {
    return utf8ToGbk("处理完成！");
}

std::string numberOutsideLine() {
    return utf8ToGbk("图片编号超出1-511，未处理");
}

std::string regionFullLine(int number) {
    return utf8ToGbk("图形数据区已满，第" + std::to_string(number) + "张起的像素未写入");
}

} // namespace lumivert
