#pragma once

// The texts the program shows in message boxes, in UTF-8. Each says what is wrong and what to
// do, briefly.
namespace Messages {

// The serial port failed: it is held by another program, missing, or stopped working.
inline constexpr const char* kPortBusy = "串口被占用";

// Bad module parameters on the first page.
inline constexpr const char* kWidthRange = "宽度必须在 1 到 255 之间";
inline constexpr const char* kHeightRange = "高度必须在 1 到 255 之间";
inline constexpr const char* kColourChoice = "请从列表中选择颜色（单色或双色）";
inline constexpr const char* kScanRange = "扫描周期必须在 1 到 16 之间";
inline constexpr const char* kRedGreenChoice = "请从列表中选择红绿数量（1 到 4）";

// Bad values in the screen number and IP address boxes.
inline constexpr const char* kScreenRange = "屏号必须是 0 到 255 之间的整数";
inline constexpr const char* kIpRange = "IP地址每一段必须是 0 到 255 之间的整数";

// Closing the window with picks that were not saved.
inline constexpr const char* kDiscardPicks = "选好的行和列还没有保存到地图文件。放弃它们并关闭吗？";

}  // namespace Messages
