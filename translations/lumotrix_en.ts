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
    <name>CameraControl</name>
    <message>
        <location filename="../src/ui/CameraControl.cpp" line="126"/>
        <source>请先选择相机：在“来源”中选一个相机或输入 http:// 地址，按“连接”。</source>
        <translation>Choose a camera first: pick one under Source or type an http:// address, then press Connect.</translation>
    </message>
</context>
<context>
    <name>CameraPictureView</name>
    <message>
        <location filename="../src/ui/CameraPictureView.cpp" line="91"/>
        <source>第1行</source>
        <translation>Row 1</translation>
    </message>
    <message>
        <location filename="../src/ui/CameraPictureView.cpp" line="93"/>
        <source>第1列</source>
        <translation>Column 1</translation>
    </message>
</context>
<context>
    <name>CameraWalk</name>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="23"/>
        <source>相机的画面落后超过 1 秒，跟不上闪烁。请换一个延迟小的相机或连接方式，再按 F5。</source>
        <translation>The camera&apos;s picture lags more than 1 s behind the panel and cannot follow the blinking. Use a camera or connection with less delay, then press F5.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="25"/>
        <source>状态1和状态2下模块都亮，分不出哪一种才亮。请检查模块和连线，再按 F5。</source>
        <translation>The module lights in both state 1 and state 2, so neither can be told to be the lit one. Check the module and its cables, then press F5.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="27"/>
        <source>状态1和状态2下模块都不亮。请检查相机是否对准模块、模块是否通电，再按 F5。</source>
        <translation>The module stays dark in both state 1 and state 2. Check that the camera is aimed at the module and that the module has power, then press F5.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="29"/>
        <source>状态1和状态2下模块都不亮。回到第1步时，上次发送的显示极性可能让模块一直不亮：请回到参数页，按下一步重新开始，再按 F5。</source>
        <translation>The module stays dark in both state 1 and state 2. Back on step 1, the display polarity sent last can keep the module dark: go back to the parameter page, start again with Next, then press F5.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="33"/>
        <source>看不清模块在两种状态下是亮还是暗。请让相机对准整个模块、调暗房间，再按 F5。</source>
        <translation>It cannot be seen whether the module is lit or dark in the two states. Aim the camera at the whole module and dim the room, then press F5.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="35"/>
        <source>相机校准失败：%1</source>
        <translation>The camera could not be calibrated: %1</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="37"/>
        <source>请先填好参数并按下一步，再按 F5。</source>
        <translation>Fill in the parameters and press Next first, then press F5.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="39"/>
        <source>相机还没有看清这个模块。请回到第1步，再按 F5。</source>
        <translation>The camera has not yet seen this module. Go back to step 1, then press F5.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="40"/>
        <source>宽度×高度÷(8×扫描周期) 不是 1 到 128 之间的整数，相机无法完成列选择。请检查参数。</source>
        <translation>Width × height ÷ (8 × scan count) is not a whole number from 1 to 128, so the camera cannot finish the column step. Check the parameters.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="43"/>
        <source>请看面板：网格中标出的格子是不是正亮着的那个灯？是，按 F5 继续；不是，请在相机窗口中改旋转或镜像。</source>
        <translation>Look at the panel: is the cell marked in the grid the LED that is lit now? If yes, press F5 to go on; if not, change the rotation or mirror in the camera window.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="48"/>
        <source>没有看清亮的灯：%1。请在网格中点正亮着的那个格子，再按 F5。</source>
        <translation>The lit LED could not be made out: %1. Click the cell of the LED that is lit in the grid, then press F5.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="49"/>
        <source>这一步没有灯亮：可能是坏灯，或者宽度、高度、扫描周期填错了。请在网格中点该亮的格子再按 F5，或检查参数。</source>
        <translation>No LED lights at this step: a dead LED, or a wrong width, height or scan count. Click the cell that should light in the grid and press F5, or check the parameters.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="53"/>
        <source>画面和校准时不一样了：相机可能被碰动了。请把相机放回原处再按 F5；放不回去的话，请回到第1步重新开始。</source>
        <translation>The picture no longer matches the calibration: the camera may have been moved. Put the camera back and press F5; if it cannot go back, start again on step 1.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="57"/>
        <source>画面仍和校准时不一样。请把相机放回原处；放不回去的话，请回到第1步重新开始。</source>
        <translation>The picture still does not match the calibration. Put the camera back where it was; if it cannot go back, start again on step 1.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="60"/>
        <source>串口出错，相机已停下。已做的选择都保留着。</source>
        <translation>The serial port failed, so the camera stopped. Every pick made is kept.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="62"/>
        <source>相机断开了：%1。已做的选择都保留着。</source>
        <translation>The camera was lost: %1. Every pick made is kept.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="63"/>
        <source>列选择已完成：按“完成”保存地图。</source>
        <translation>The column picks are done: press Finish to save the map.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="64"/>
        <source>页面换了，相机已停下。</source>
        <translation>The page changed, so the camera stopped.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="65"/>
        <source>已暂停：按 F5 继续。</source>
        <translation>Paused: press F5 to go on.</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="67"/>
        <source>正在看模块在状态1和状态2下的亮暗…</source>
        <translation>Watching whether the module lights in state 1 or state 2…</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="68"/>
        <source>正在校准相机…</source>
        <translation>Calibrating the camera…</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="69"/>
        <source>正在等第 %1 个灯亮…</source>
        <translation>Waiting for LED %1 to light…</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="76"/>
        <source>有几个灯同时亮</source>
        <translation>several LEDs are lit</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="78"/>
        <source>有灯在亮和暗之间</source>
        <translation>an LED is between lit and dark</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="80"/>
        <source>灯之间或模块旁有光，可能是反光</source>
        <translation>there is light between or beside the LEDs, perhaps a reflection</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="82"/>
        <source>画面太亮</source>
        <translation>the picture is too bright</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="84"/>
        <source>画面和校准时不一样，相机可能动了</source>
        <translation>the picture does not match the calibration; the camera may have moved</translation>
    </message>
    <message>
        <location filename="../src/session/CameraWalk.cpp" line="90"/>
        <source>没有灯亮</source>
        <translation>no LED is lit</translation>
    </message>
</context>
<context>
    <name>CameraWindow</name>
    <message>
        <location filename="../src/ui/CameraWindow.cpp" line="24"/>
        <source>相机</source>
        <translation>Camera</translation>
    </message>
    <message>
        <location filename="../src/ui/CameraWindow.cpp" line="40"/>
        <source>来源</source>
        <translation>Source</translation>
    </message>
    <message>
        <location filename="../src/ui/CameraWindow.cpp" line="45"/>
        <source>相机，或 http:// 地址</source>
        <translation>a camera, or an http:// address</translation>
    </message>
    <message>
        <location filename="../src/ui/CameraWindow.cpp" line="47"/>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <location filename="../src/ui/CameraWindow.cpp" line="49"/>
        <source>旋转</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <location filename="../src/ui/CameraWindow.cpp" line="55"/>
        <source>镜像</source>
        <translation>Mirror</translation>
    </message>
    <message>
        <location filename="../src/ui/CameraWindow.cpp" line="95"/>
        <source>暂停 (F5)</source>
        <translation>Pause (F5)</translation>
    </message>
    <message>
        <location filename="../src/ui/CameraWindow.cpp" line="95"/>
        <source>开始 (F5)</source>
        <translation>Start (F5)</translation>
    </message>
    <message>
        <location filename="../src/ui/CameraWindow.cpp" line="103"/>
        <source>亮的灯：第 %1 行 第 %2 列</source>
        <translation>Lit LED: row %1, column %2</translation>
    </message>
    <message>
        <location filename="../src/ui/CameraWindow.cpp" line="105"/>
        <source>模块亮</source>
        <translation>Module lit</translation>
    </message>
    <message>
        <location filename="../src/ui/CameraWindow.cpp" line="106"/>
        <source>模块暗</source>
        <translation>Module dark</translation>
    </message>
    <message>
        <location filename="../src/ui/CameraWindow.cpp" line="107"/>
        <source>看不清模块是亮还是暗</source>
        <translation>Cannot tell whether the module is lit or dark</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <location filename="../src/ui/main.cpp" line="35"/>
        <source>未知的选项：%1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <location filename="../src/ui/main.cpp" line="45"/>
        <source>没有找到相机。</source>
        <translation>No camera found.</translation>
    </message>
    <message>
        <location filename="../src/ui/CommandLine.cpp" line="56"/>
        <source>用法：lumotrix [--lang en|zh] [--camera 相机] [--list-cameras] [Qt 的选项，如 -platform]
  --camera 相机     打开相机窗口：http:// 地址，或 --list-cameras 列出的相机编号或名称
  --list-cameras    列出找到的相机后结束
</source>
        <translation>Usage: lumotrix [--lang en|zh] [--camera CAMERA] [--list-cameras] [Qt&apos;s options, such as -platform]
  --camera CAMERA   opens the camera window on CAMERA: an http:// address, or a camera&apos;s
                    number or name as --list-cameras prints them
  --list-cameras    prints the cameras found, then ends
</translation>
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
    <name>FrameReader</name>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="77"/>
        <source>亮和暗的两张画面没有差别：相机对准模块了吗？</source>
        <translation>The dark and the lit picture do not differ: is the camera aimed at the module?</translation>
    </message>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="79"/>
        <source>画面过曝：请把相机的曝光或增益调低</source>
        <translation>The picture is overexposed: turn the camera&apos;s exposure or gain down</translation>
    </message>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="81"/>
        <source>灯在画面中太小（相邻两灯只隔 %1 像素，至少要 6）：请把相机移近或放大</source>
        <translation>The LEDs are too small in the picture (neighbours only %1 pixels apart, at least 6 needed): move the camera closer or zoom in</translation>
    </message>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="86"/>
        <source>模块在画面中是横着的（看到 %1×%2 个灯，应是 %3×%4）：请在相机窗口中把画面转 90°</source>
        <translation>The module lies on its side in the picture (%1 × %2 LEDs seen, %3 × %4 expected): turn the picture by 90° in the camera window</translation>
    </message>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="95"/>
        <source>模块有一部分在画面外：请让整个模块进入画面</source>
        <translation>Part of the module is outside the picture: get the whole module into the picture</translation>
    </message>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="97"/>
        <source>只找到 %1 个灯，应有 %2 个</source>
        <translation>Found only %1 of %2 LEDs</translation>
    </message>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="101"/>
        <source>找到 %1 个亮点，应有 %2 个灯：画面中有别的光吗？</source>
        <translation>Found %1 bright spots for %2 LEDs: is there other light in the picture?</translation>
    </message>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="106"/>
        <source>灯排得不像一个整齐的网格：请让相机正对模块，别斜得太多</source>
        <translation>The LEDs do not form a regular grid: face the module squarely, not at a steep angle</translation>
    </message>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="113"/>
        <source>这两张画面不能用来校准</source>
        <translation>These two pictures cannot be used for a calibration</translation>
    </message>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="121"/>
        <source>第 %1 行 第 %2 列</source>
        <translation>row %1, column %2</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/camera/FrameReader.cpp" line="126"/>
        <source>校准时有 %n 个灯没亮（%1）：可能是坏灯。</source>
        <translation>
            <numerusform>%n LED did not light at calibration (%1): it may be dead.</numerusform>
            <numerusform>%n LEDs did not light at calibration (%1): they may be dead.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="129"/>
        <source>、</source>
        <translation>; </translation>
    </message>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="221"/>
        <source>这两张画面已经不在了</source>
        <translation>These two pictures are no longer kept</translation>
    </message>
    <message>
        <location filename="../src/camera/FrameReader.cpp" line="140"/>
        <source>模块周围太暗，看不出相机是否被碰动：请打开一点灯，别碰相机。</source>
        <translation>It is too dark around the module to see whether the camera gets nudged: turn on a little light, and do not touch the camera.</translation>
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
    <name>LocalCamera</name>
    <message>
        <location filename="../src/camera/LocalCamera.cpp" line="47"/>
        <source>没有找到相机，请检查连接</source>
        <translation>No camera found: check the connection</translation>
    </message>
    <message>
        <location filename="../src/camera/LocalCamera.cpp" line="68"/>
        <source>相机 %1 无法使用，请检查连接，或关闭正在使用它的其他程序</source>
        <translation>Camera %1 cannot be used: check the connection, or close the other program using it</translation>
    </message>
    <message>
        <location filename="../src/camera/LocalCamera.cpp" line="161"/>
        <source>相机 %1 已断开，请检查连接</source>
        <translation>Camera %1 was disconnected: check the connection</translation>
    </message>
    <message>
        <location filename="../src/camera/LocalCamera.cpp" line="165"/>
        <source>相机 %1 的画面格式本程序无法读取</source>
        <translation>The picture format of camera %1 cannot be read</translation>
    </message>
</context>
<context>
    <name>LocalCameras</name>
    <message>
        <location filename="../src/camera/LocalCameras.cpp" line="51"/>
        <source>相机模块 %1 无法加载：%2</source>
        <translation>The camera module %1 cannot be loaded: %2</translation>
    </message>
    <message>
        <location filename="../src/camera/LocalCameras.cpp" line="54"/>
        <source>没有找到相机模块 %1，请重新安装本程序</source>
        <translation>The camera module %1 is missing: install the program again</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="126"/>
        <source>相机</source>
        <translation>Camera</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="127"/>
        <source>相机：让相机看着模块自动完成各步 (Ctrl+K)</source>
        <translation>Camera: let a camera watch the module and answer the steps (Ctrl+K)</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="187"/>
        <source>上一步</source>
        <translation>Back</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="188"/>
        <source>下一步</source>
        <translation>Next</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="189"/>
        <source>后退</source>
        <translation>Undo</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="190"/>
        <source>完成</source>
        <translation>Save</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="191"/>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="192"/>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="337"/>
        <source>已选的行数 / 扫描周期</source>
        <translation>Rows picked / scan count</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/ui/MainWindow.cpp" line="339"/>
        <source>%n列</source>
        <translation>
            <numerusform>%n column</numerusform>
            <numerusform>%n columns</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="340"/>
        <source>已选的列数</source>
        <translation>Columns picked</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="368"/>
        <source>地图已保存，但有重复的选择：
%1
如果选错了，请回到那一步重选后再保存。</source>
        <translation>The map is saved, but some picks repeat:
%1
If that was a slip, go back to that step, pick again and save again.</translation>
    </message>
    <message>
        <location filename="../src/ui/MainWindow.cpp" line="412"/>
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
    <name>MjpegReader</name>
    <message>
        <location filename="../src/camera/MjpegReader.cpp" line="121"/>
        <source>相机 %1 没有提供视频流（HTTP 应答 %2），请检查地址</source>
        <translation>Camera %1 sends no video stream (HTTP answer %2): check the address</translation>
    </message>
    <message>
        <location filename="../src/camera/MjpegReader.cpp" line="156"/>
        <source>相机 %1 拒绝连接，请检查地址和端口</source>
        <translation>Camera %1 refused the connection: check the address and port</translation>
    </message>
    <message>
        <location filename="../src/camera/MjpegReader.cpp" line="159"/>
        <source>找不到相机 %1，请检查地址</source>
        <translation>Camera %1 cannot be found: check the address</translation>
    </message>
    <message>
        <location filename="../src/camera/MjpegReader.cpp" line="168"/>
        <source>相机 %1 没有应答，请检查地址和网络</source>
        <translation>Camera %1 does not answer: check the address and the network</translation>
    </message>
    <message>
        <location filename="../src/camera/MjpegReader.cpp" line="172"/>
        <source>相机 %1 的视频流中断了</source>
        <translation>The video stream of camera %1 stopped</translation>
    </message>
    <message>
        <location filename="../src/camera/MjpegReader.cpp" line="179"/>
        <source>相机 %1 发来的视频流数据有误</source>
        <translation>Camera %1 sends a broken video stream</translation>
    </message>
    <message>
        <location filename="../src/camera/MjpegReader.cpp" line="181"/>
        <source>相机 %1 发来的不是 Motion-JPEG 视频流，请检查地址</source>
        <translation>Camera %1 does not send a Motion-JPEG stream: check the address</translation>
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
<context>
    <name>SourceChoice</name>
    <message>
        <location filename="../src/camera/SourceChoice.cpp" line="8"/>
        <source>请输入相机的编号、名称或 http:// 视频流地址</source>
        <translation>Enter a camera&apos;s number or name, or an http:// stream address</translation>
    </message>
    <message>
        <location filename="../src/camera/SourceChoice.cpp" line="38"/>
        <source>不支持 https 视频流，请改用 http:// 地址</source>
        <translation>https streams are not supported. Use an http:// address.</translation>
    </message>
    <message>
        <location filename="../src/camera/SourceChoice.cpp" line="41"/>
        <source>不支持这种地址：%1，请用 http:// 视频流地址</source>
        <translation>Unsupported address: %1. Use an http:// stream address.</translation>
    </message>
    <message>
        <location filename="../src/camera/SourceChoice.cpp" line="44"/>
        <source>视频流地址 %1 无效</source>
        <translation>The stream address %1 is not valid.</translation>
    </message>
    <message>
        <location filename="../src/camera/SourceChoice.cpp" line="56"/>
        <source>没有找到相机，请检查连接</source>
        <translation>No camera found: check the connection</translation>
    </message>
    <message>
        <location filename="../src/camera/SourceChoice.cpp" line="59"/>
        <source>没有第 %1 个相机（共找到 %2 个）</source>
        <translation>There is no camera %1 (%2 found)</translation>
    </message>
    <message>
        <location filename="../src/camera/SourceChoice.cpp" line="82"/>
        <source>有多个相机的名称含有“%1”，请用编号选择</source>
        <translation>More than one camera&apos;s name contains “%1”: choose by number</translation>
    </message>
    <message>
        <location filename="../src/camera/SourceChoice.cpp" line="85"/>
        <source>没有名为“%1”的相机</source>
        <translation>There is no camera named “%1”</translation>
    </message>
</context>
</TS>
