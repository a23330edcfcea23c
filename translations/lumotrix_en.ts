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
        <translation>Screen</translation>
    </message>
    <message>
        <location filename="../src/ui/AddressPanel.cpp" line="11"/>
        <source>IP地址</source>
        <translation>IP</translation>
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
        <location filename="../src/ui/Application.cpp" line="13"/>
        <source>内部错误：%1
请把这段文字告诉开发者。</source>
        <translation>Internal error: %1
Please pass this text on to the developers.</translation>
    </message>
</context>
<context>
    <name>ControllerCommands</name>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="31"/>
        <location filename="../src/session/ControllerCommands.cpp" line="93"/>
        <source>下载%1</source>
        <translation>Sent %1/16</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="57"/>
        <source>设置地址</source>
        <translation>Setting...</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="66"/>
        <source>读出地址</source>
        <translation>Reading...</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="79"/>
        <source>设置成功</source>
        <translation>Address set</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="79"/>
        <source>设置失败</source>
        <translation>Set failed</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="82"/>
        <source>读出成功</source>
        <translation>Address read</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="82"/>
        <source>读出失败</source>
        <translation>Read failed</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="101"/>
        <source>下载完成</source>
        <translation>Download done</translation>
    </message>
    <message>
        <location filename="../src/session/ControllerCommands.cpp" line="104"/>
        <source>下载失败</source>
        <translation>Download failed</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="63"/>
        <source>上一步</source>
        <translation>Back</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="64"/>
        <source>下一步</source>
        <translation>Next</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="65"/>
        <source>后退</source>
        <translation>Undo</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="66"/>
        <source>完成</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="67"/>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="68"/>
        <source>下载</source>
        <translation>Send</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="186"/>
        <source>已选的行数 / 扫描周期</source>
        <translation>Rows picked / scan count</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="188"/>
        <source>%1列</source>
        <translation>%1 col</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="189"/>
        <source>已选的列数</source>
        <translation>Columns picked</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="216"/>
        <source>地图已保存，但有重复的选择：
%1
如果选错了，请回到那一步重选后再保存。</source>
        <translation>The map is saved, but some picks repeat:
%1
If that was a slip, go back to that step, pick again and save again.</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="236"/>
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
        <translation>Module</translation>
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
        <translation>Scan</translation>
    </message>
    <message>
        <location filename="../src/ui/ParameterPage.cpp" line="18"/>
        <source>红绿数量</source>
        <translation>R/G count</translation>
    </message>
</context>
<context>
    <name>PickPage</name>
    <message>
        <location filename="../src/ui/PickPage.cpp" line="8"/>
        <source>第3步 行选择</source>
        <translation>Step 3: rows</translation>
    </message>
    <message>
        <location filename="../src/ui/PickPage.cpp" line="8"/>
        <source>第4步 列选择</source>
        <translation>Step 4: columns</translation>
    </message>
</context>
<context>
    <name>PolarityPage</name>
    <message>
        <location filename="../src/ui/PolarityPage.cpp" line="8"/>
        <source>第1步 OE极性选择</source>
        <translation>Step 1: OE polarity</translation>
    </message>
    <message>
        <location filename="../src/ui/PolarityPage.cpp" line="8"/>
        <source>第2步 显示极性选择</source>
        <translation>Step 2: data polarity</translation>
    </message>
    <message>
        <location filename="../src/ui/PolarityPage.cpp" line="18"/>
        <source>1亮</source>
        <translation>1 lit</translation>
    </message>
    <message>
        <location filename="../src/ui/PolarityPage.cpp" line="20"/>
        <source>2亮</source>
        <translation>2 lit</translation>
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
        <translation>%1 %2 is the same as %1 %3 (row %4, column %5)</translation>
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
