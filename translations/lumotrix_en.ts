<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AddressPanel</name>
    <message>
        <location filename="../src/ui/AddressPanel.cpp" line="8"/>
        <source>设置屏号</source>
        <translation>Screen address</translation>
    </message>
    <message>
        <location filename="../src/ui/AddressPanel.cpp" line="9"/>
        <source>屏号</source>
        <translation>Screen no.</translation>
    </message>
    <message>
        <location filename="../src/ui/AddressPanel.cpp" line="11"/>
        <source>IP地址</source>
        <translation>IP address</translation>
    </message>
    <message>
        <location filename="../src/ui/AddressPanel.cpp" line="20"/>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <location filename="../src/ui/AddressPanel.cpp" line="21"/>
        <source>读出</source>
        <translation>Read</translation>
    </message>
</context>
<context>
    <name>Application</name>
    <message>
        <location filename="../src/ui/Application.cpp" line="14"/>
        <source>内部错误：%1
请把这段文字告诉开发者。</source>
        <translation>Internal error: %1
Please pass this text on to the developers.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <location filename="../src/ui/CommandLine.cpp" line="24"/>
        <source>用法：lumotrix [--lang en|zh] [Qt 的选项，如 -platform]
</source>
        <translation>Usage: lumotrix [--lang en|zh] [Qt's options, such as -platform]
</translation>
    </message>
    <message>
        <location filename="../src/ui/main.cpp" line="32"/>
        <source>未知的选项：%1</source>
        <translation>Unknown option: %1</translation>
    </message>
</context>
<context>
    <name>ControllerCommands</name>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="12"/>
        <location filename="../src/session/ControllerCommands.cpp" line="70"/>
        <source>下载%1</source>
        <translation>Downloading %1/16</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="34"/>
        <source>设置地址</source>
        <translation>Setting address</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="43"/>
        <source>读出地址</source>
        <translation>Reading address</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="56"/>
        <source>设置成功</source>
        <translation>Address set</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="56"/>
        <source>设置失败</source>
        <translation>Setting failed</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="59"/>
        <source>读出成功</source>
        <translation>Address read</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="59"/>
        <source>读出失败</source>
        <translation>Reading failed</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="78"/>
        <source>下载完成</source>
        <translation>Download complete</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="81"/>
        <source>下载失败</source>
        <translation>Download failed</translation>
    </message>
</context>
<context>
    <name>FileDialogModel</name>
    <message>
        <location filename="../src/ui/FileDialogModel.cpp" line="23"/>
        <source>文件夹</source>
        <translation>Folder</translation>
    </message>
</context>
<context>
    <name>Languages</name>
    <message>
        <location filename="../src/core/Language.cpp" line="11"/>
        <source>--lang 只能是 en（英文）或 zh（中文）</source>
        <translation>--lang takes en (English) or zh (Chinese)</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="147"/>
        <source>上一步</source>
        <translation>Back</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="148"/>
        <source>下一步</source>
        <translation>Next</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="149"/>
        <source>后退</source>
        <translation>Undo</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="150"/>
        <source>完成</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="151"/>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="152"/>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="297"/>
        <source>已选的行数 / 扫描周期</source>
        <translation>Rows picked / scan count</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/ui/MainWindow.cpp" line="299"/>
        <source>%n列</source>
        <translation>
            <numerusform>%n column</numerusform>
            <numerusform>%n columns</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="300"/>
        <source>已选的列数</source>
        <translation>Columns picked</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="328"/>
        <source>地图已保存，但有重复的选择：
%1
如果选错了，请回到那一步重选后再保存。</source>
        <translation>The map is saved, but some picks repeat:
%1
If that was a slip, go back to that step, pick again and save again.</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="372"/>
        <source>选好的行和列还没有保存到地图文件。放弃它们并关闭吗？</source>
        <translation>The rows and columns you picked are not saved in a map file yet. Discard them and close?</translation>
    </message>
</context>
<context>
    <name>MapFile</name>
    <message>
        <location filename="../src/mapfile/MapFile.cpp" line="12"/>
        <source>无法打开文件 %1：%2</source>
        <translation>Cannot open the file %1: %2</translation>
    </message>
    <message>
        <location filename="../src/mapfile/MapFile.cpp" line="13"/>
        <source>无法保存文件 %1：%2</source>
        <translation>Cannot save the file %1: %2</translation>
    </message>
    <message>
        <location filename="../src/mapfile/MapFile.cpp" line="14"/>
        <source>文件不存在</source>
        <translation>there is no such file</translation>
    </message>
    <message>
        <location filename="../src/mapfile/MapFile.cpp" line="15"/>
        <source>只有 %1 字节，地图文件应为 %2 字节</source>
        <translation>it holds only %1 bytes; a map file holds exactly %2</translation>
    </message>
    <message>
        <location filename="../src/mapfile/MapFile.cpp" line="16"/>
        <source>比地图文件长：地图文件应为 %1 字节</source>
        <translation>it is longer than a map file, which holds exactly %1 bytes</translation>
    </message>
    <message>
        <location filename="../src/mapfile/MapFile.h" line="17"/>
        <source>bin Files(*.bin)</source>
        <translation>Map files (*.bin)</translation>
    </message>
</context>
<context>
    <name>MapImageBuilder</name>
    <message>
        <location filename="../src/mapfile/MapImageBuilder.cpp" line="12"/>
        <source>%1超出模块范围，无法保存</source>
        <translation>%1 lies outside the module; the map cannot be saved</translation>
    </message>
    <message>
        <location filename="../src/mapfile/MapImageBuilder.cpp" line="13"/>
        <source>第 %1 个行选择</source>
        <translation>Row pick %1</translation>
    </message>
    <message>
        <location filename="../src/mapfile/MapImageBuilder.cpp" line="14"/>
        <source>第 %1 个列选择</source>
        <translation>Column pick %1</translation>
    </message>
    <message>
        <location filename="../src/mapfile/MapImageBuilder.cpp" line="15"/>
        <source>参数超出范围，无法保存</source>
        <translation>A parameter is out of range; the map cannot be saved</translation>
    </message>
    <message>
        <location filename="../src/mapfile/MapImageBuilder.cpp" line="16"/>
        <source>扫描周期必须在 1 到 16 之间</source>
        <translation>The scan count must be 1 to 16</translation>
    </message>
    <message>
        <location filename="../src/mapfile/MapImageBuilder.cpp" line="17"/>
        <source>模块宽度为 0，无法保存</source>
        <translation>The module width is 0; the map cannot be saved</translation>
    </message>
    <message>
        <location filename="../src/mapfile/MapImageBuilder.cpp" line="18"/>
        <source>行选择未完成：已选 %1 行，需要 %2 行。请返回第3步选完后再保存</source>
        <translation>Row picks are not complete: %1 of %2 rows picked. Go back to step 3, pick them all, then save.</translation>
    </message>
    <message>
        <location filename="../src/mapfile/MapImageBuilder.cpp" line="20"/>
        <source>列选择数目不对，无法保存</source>
        <translation>The number of column picks is wrong; the map cannot be saved</translation>
    </message>
</context>
<context>
    <name>MapStatus</name>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="34"/>
        <source>单色</source>
        <translation>single colour</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="35"/>
        <source>双色</source>
        <translation>dual colour</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="36"/>
        <source>颜色 %1</source>
        <translation>colour %1</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="37"/>
        <source>%1: %2 × %3, %4, 扫描 %5, %6 行 %7 列</source>
        <translation>%1: %2 × %3, %4, scan %5, rows %6, columns %7</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="49"/>
        <source>文件长度不对</source>
        <translation>wrong file length</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="50"/>
        <source>模块大小为 0</source>
        <translation>module size is 0</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="51"/>
        <source>颜色值 %1 不对</source>
        <translation>unknown colour %1</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="52"/>
        <source>扫描周期 %1 不在 1 到 16 之间</source>
        <translation>scan count %1 is not 1 to 16</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="53"/>
        <source>红绿数量不对</source>
        <translation>unknown red-green count</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="54"/>
        <source>OE极性不对</source>
        <translation>unknown OE polarity</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="55"/>
        <source>显示极性不对</source>
        <translation>unknown data polarity</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="56"/>
        <source>列数不对</source>
        <translation>wrong column count</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/ui/MapStatus.cpp" line="58"/>
        <source>%n 个行选择在模块之外</source>
        <translation>
            <numerusform>%n row pick outside the module</numerusform>
            <numerusform>%n row picks outside the module</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../src/ui/MapStatus.cpp" line="60"/>
        <source>%n 个行选择重复</source>
        <translation>
            <numerusform>%n repeated row pick</numerusform>
            <numerusform>%n repeated row picks</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../src/ui/MapStatus.cpp" line="62"/>
        <source>%n 个列选择在模块之外</source>
        <translation>
            <numerusform>%n column pick outside the module</numerusform>
            <numerusform>%n column picks outside the module</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="63"/>
        <source>没有列选择</source>
        <translation>no column picks</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="81"/>
        <source>%1 可疑：%2</source>
        <translation>%1 looks wrong: %2</translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="81"/>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <location filename="../src/ui/MapStatus.cpp" line="83"/>
        <source>下载前请检查这个文件。</source>
        <translation>Check this file before you download it.</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <location filename="../src/session/Messages.cpp" line="14"/>
        <source>串口被占用</source>
        <translation>The serial port is busy or missing</translation>
    </message>
    <message>
        <location filename="../src/session/Messages.cpp" line="18"/>
        <source>宽度必须在 1 到 255 之间</source>
        <translation>The width must be 1 to 255</translation>
    </message>
    <message>
        <location filename="../src/session/Messages.cpp" line="22"/>
        <source>高度必须在 1 到 255 之间</source>
        <translation>The height must be 1 to 255</translation>
    </message>
    <message>
        <location filename="../src/session/Messages.cpp" line="26"/>
        <source>请从列表中选择颜色（单色或双色）</source>
        <translation>Choose the colour from the list (single or dual)</translation>
    </message>
    <message>
        <location filename="../src/session/Messages.cpp" line="30"/>
        <source>扫描周期必须在 1 到 16 之间</source>
        <translation>The scan count must be 1 to 16</translation>
    </message>
    <message>
        <location filename="../src/session/Messages.cpp" line="34"/>
        <source>请从列表中选择红绿数量（1 到 4）</source>
        <translation>Choose the red-green count from the list (1 to 4)</translation>
    </message>
    <message>
        <location filename="../src/session/Messages.cpp" line="38"/>
        <source>屏号必须是 0 到 255 之间的整数</source>
        <translation>The screen number must be a whole number from 0 to 255</translation>
    </message>
    <message>
        <location filename="../src/session/Messages.cpp" line="42"/>
        <source>IP地址每一段必须是 0 到 255 之间的整数</source>
        <translation>Each part of the IP address must be a whole number from 0 to 255</translation>
    </message>
</context>
<context>
    <name>ParameterPage</name>
    <message>
        <location filename="../src/ui/ParameterPage.cpp" line="7"/>
        <source>单元板参数</source>
        <translation>Module parameters</translation>
    </message>
    <message>
        <location filename="../src/ui/ParameterPage.cpp" line="8"/>
        <source>宽度</source>
        <translation>Width</translation>
    </message>
    <message>
        <location filename="../src/ui/ParameterPage.cpp" line="10"/>
        <source>高度</source>
        <translation>Height</translation>
    </message>
    <message>
        <location filename="../src/ui/ParameterPage.cpp" line="12"/>
        <source>颜色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <location filename="../src/ui/ParameterPage.cpp" line="13"/>
        <source>单色</source>
        <translation>Single</translation>
    </message>
    <message>
        <location filename="../src/ui/ParameterPage.cpp" line="13"/>
        <source>双色</source>
        <translation>Dual</translation>
    </message>
    <message>
        <location filename="../src/ui/ParameterPage.cpp" line="14"/>
        <source>扫描周期</source>
        <translation>Scan count</translation>
    </message>
    <message>
        <location filename="../src/ui/ParameterPage.cpp" line="18"/>
        <source>红绿数量</source>
        <translation>Red-green count</translation>
    </message>
</context>
<context>
    <name>PickPage</name>
    <message>
        <location filename="../src/ui/PickPage.cpp" line="18"/>
        <source>第3步 行选择</source>
        <translation>Step 3: rows</translation>
    </message>
    <message>
        <location filename="../src/ui/PickPage.cpp" line="19"/>
        <source>第4步 列选择</source>
        <translation>Step 4: columns</translation>
    </message>
</context>
<context>
    <name>PolarityPage</name>
    <message>
        <location filename="../src/ui/PolarityPage.cpp" line="20"/>
        <source>第1步 OE极性选择</source>
        <translation>Step 1: OE polarity</translation>
    </message>
    <message>
        <location filename="../src/ui/PolarityPage.cpp" line="21"/>
        <source>第2步 显示极性选择</source>
        <translation>Step 2: data polarity</translation>
    </message>
    <message>
        <location filename="../src/ui/PolarityPage.cpp" line="45"/>
        <source>1亮</source>
        <translation>Lit at 1</translation>
    </message>
    <message>
        <location filename="../src/ui/PolarityPage.cpp" line="47"/>
        <source>2亮</source>
        <translation>Lit at 2</translation>
    </message>
</context>
<context>
    <name>PortNames</name>
    <message>
        <location filename="../src/link/PortNames.cpp" line="79"/>
        <source>没有找到串口设备</source>
        <translation>No serial device found</translation>
    </message>
</context>
<context>
    <name>RepeatedPicks</name>
    <message>
        <location filename="../src/mapfile/RepeatedPicks.cpp" line="12"/>
        <source>%1 %2 与%1 %3 相同（第 %4 行第 %5 列）</source>
        <translation>%1 %2 is the same LED as %1 %3 (row %4, column %5)</translation>
    </message>
    <message>
        <location filename="../src/mapfile/RepeatedPicks.cpp" line="13"/>
        <source>行选择</source>
        <translation>Row pick</translation>
    </message>
    <message>
        <location filename="../src/mapfile/RepeatedPicks.cpp" line="14"/>
        <source>列选择</source>
        <translation>Column pick</translation>
    </message>
</context>
</TS>
