#include "app/window/gbk_text.h"

#include "common/gbk.h"

namespace lumivert {

std::string toGbk(const QString& text) {
    return utf8ToGbk(text.toStdString());
}

QString fromGbk(std::string_view gbk) {
    return QString::fromStdString(gbkToUtf8(gbk));
}

} // namespace lumivert
