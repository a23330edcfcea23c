#include "session/Messages.h"

#include <QCoreApplication>

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("Messages", text);
}

}  // namespace

QString Messages::portBusy() {
    return translated(QT_TRANSLATE_NOOP("Messages", "串口被占用"));
}

QString Messages::widthRange() {
    return translated(QT_TRANSLATE_NOOP("Messages", "宽度必须在 1 到 255 之间"));
}

QString Messages::heightRange() {
    return translated(QT_TRANSLATE_NOOP("Messages", "高度必须在 1 到 255 之间"));
}

QString Messages::colourChoice() {
    return translated(QT_TRANSLATE_NOOP("Messages", "请从列表中选择颜色（单色或双色）"));
}

QString Messages::scanRange() {
    return translated(QT_TRANSLATE_NOOP("Messages", "扫描周期必须在 1 到 16 之间"));
}

QString Messages::redGreenChoice() {
    return translated(QT_TRANSLATE_NOOP("Messages", "请从列表中选择红绿数量（1 到 4）"));
}

QString Messages::screenRange() {
    return translated(QT_TRANSLATE_NOOP("Messages", "屏号必须是 0 到 255 之间的整数"));
}

QString Messages::ipRange() {
    return translated(QT_TRANSLATE_NOOP("Messages", "IP地址每一段必须是 0 到 255 之间的整数"));
}
