<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Commands</name>
    <message>
        <source>&amp;ファイルを開く...	Ctrl+O</source>
        <translation>&amp;Open file...	Ctrl+O</translation>
    </message>
    <message>
        <source>ファイルを開く</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>ディスクを開く...</source>
        <translation>Open disk...</translation>
    </message>
    <message>
        <source>ファイルを閉じる</source>
        <translation>Close file</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>巻戻し</source>
        <translation>Rewind</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>早送り</source>
        <translation>Fast forward</translation>
    </message>
    <message>
        <source>早戻し</source>
        <translation>Fast rewind</translation>
    </message>
    <message>
        <source>コマ送り</source>
        <translation>Step forward</translation>
    </message>
    <message>
        <source>コマ戻し</source>
        <translation>Step backward</translation>
    </message>
    <message>
        <source>Go to time...	Ctrl+T</source>
        <translation>Go to time...	Ctrl+T</translation>
    </message>
    <message>
        <source>Mark in	I</source>
        <translation>Mark in	I</translation>
    </message>
    <message>
        <source>Mark out	O</source>
        <translation>Mark out	O</translation>
    </message>
    <message>
        <source>Export span...</source>
        <translation>Export span...</translation>
    </message>
    <message>
        <source>時間表示</source>
        <translation>Show time</translation>
    </message>
    <message>
        <source>単一画面</source>
        <translation>Single screen</translation>
    </message>
    <message>
        <source>4分割画面</source>
        <translation>Split 4</translation>
    </message>
    <message>
        <source>Split 9</source>
        <translation>Split 9</translation>
    </message>
    <message>
        <source>Split 16</source>
        <translation>Split 16</translation>
    </message>
    <message>
        <source>640 x 448</source>
        <translation>640 x 448</translation>
    </message>
    <message>
        <source>640 x 544</source>
        <translation>640 x 544</translation>
    </message>
    <message>
        <source>標準サイズ</source>
        <translation>Normal size</translation>
    </message>
    <message>
        <source>最大化</source>
        <translation>Maximize</translation>
    </message>
    <message>
        <source>常に手前に表示</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>ミュート</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>静止画保存</source>
        <translation>Save still image</translation>
    </message>
    <message>
        <source>AVI保存</source>
        <translation>Export AVI</translation>
    </message>
    <message>
        <source>AVI保存開始</source>
        <translation>Start AVI export</translation>
    </message>
    <message>
        <source>オプション...</source>
        <translation>Options...</translation>
    </message>
    <message>
        <source>&amp;Connect...</source>
        <translation>&amp;Connect...</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Start Local Recording</source>
        <translation>Start local recording</translation>
    </message>
    <message>
        <source>Stop Local Recording</source>
        <translation>Stop local recording</translation>
    </message>
    <message>
        <source>再生(&amp;P)</source>
        <translation>&amp;Player</translation>
    </message>
    <message>
        <source>Client(&amp;L)</source>
        <translation>C&amp;lient</translation>
    </message>
    <message>
        <source>バージョン情報	F10</source>
        <translation>About	F10</translation>
    </message>
    <message>
        <source>閉じる	Alt+F4</source>
        <translation>Close	Alt+F4</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>AVI保存停止</source>
        <translation>Stop AVI export</translation>
    </message>
    <message>
        <source>Dvr Control</source>
        <translation>DVR control</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>録画</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>カメラ 1</source>
        <translation>Camera 1</translation>
    </message>
    <message>
        <source>カメラ 2</source>
        <translation>Camera 2</translation>
    </message>
    <message>
        <source>カメラ 3</source>
        <translation>Camera 3</translation>
    </message>
    <message>
        <source>カメラ 4</source>
        <translation>Camera 4</translation>
    </message>
    <message>
        <source>Channel 5</source>
        <translation>Channel 5</translation>
    </message>
    <message>
        <source>Channel 6</source>
        <translation>Channel 6</translation>
    </message>
    <message>
        <source>Channel 7</source>
        <translation>Channel 7</translation>
    </message>
    <message>
        <source>Channel 8</source>
        <translation>Channel 8</translation>
    </message>
    <message>
        <source>Channel 9</source>
        <translation>Channel 9</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Se&amp;q</source>
        <translation>Se&amp;quence</translation>
    </message>
</context>
<context>
    <name>DialogParts</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>IntegerField</name>
    <message>
        <source>%1 enter a whole number from %2 to %3.</source>
        <translation>%1 enter a whole number from %2 to %3.</translation>
    </message>
</context>
<context>
    <name>PlayerState</name>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
</context>
<context>
    <name>dvr::app::AboutDialog</name>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>DVR-K470 Viewer %1</source>
        <translation>DVR-K470 Viewer %1</translation>
    </message>
    <message>
        <source>2.7.8.0</source>
        <translation>2.7.8.0</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>dvr::app::DiskDialog</name>
    <message>
        <source>ディスク選択</source>
        <translation>Select disk</translation>
    </message>
    <message>
        <source>No disk could be opened. Reading DVR disks needs membership of the &quot;disk&quot; group or running as root.</source>
        <translation>No disk could be opened. Reading DVR disks needs membership of the &quot;disk&quot; group or running as root.</translation>
    </message>
</context>
<context>
    <name>dvr::app::EncoderDialog</name>
    <message>
        <source>ビデオの圧縮</source>
        <translation>Video compression</translation>
    </message>
    <message>
        <source>既定</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>1 is the best picture, 31 the smallest file.</source>
        <translation>1 is the best picture, 31 the smallest file.</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source> kbit/s</source>
        <translation> kbit/s</translation>
    </message>
    <message>
        <source>圧縮プログラム(&amp;C):</source>
        <translation>&amp;Compressor:</translation>
    </message>
    <message>
        <source>品質(&amp;Q):</source>
        <translation>&amp;Quality:</translation>
    </message>
    <message>
        <source>データレート(&amp;D):</source>
        <translation>&amp;Data rate:</translation>
    </message>
    <message>
        <source>キーフレーム間隔(&amp;K):</source>
        <translation>&amp;Key frame interval:</translation>
    </message>
</context>
<context>
    <name>dvr::app::FolderBrowser</name>
    <message>
        <source>フォルダの参照</source>
        <translation>Browse for folder</translation>
    </message>
    <message>
        <source>フォルダの選択</source>
        <translation>Select a folder</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>Browse...</translation>
    </message>
</context>
<context>
    <name>dvr::app::GoToTimeDialog</name>
    <message>
        <source>Go to time</source>
        <translation>Go to time</translation>
    </message>
    <message>
        <source>Recorded from %1 to %2.
Show the first picture at or after:</source>
        <translation>Recorded from %1 to %2.
Show the first picture at or after:</translation>
    </message>
</context>
<context>
    <name>dvr::app::LoginDialog</name>
    <message>
        <source>Use dynamic ip service</source>
        <translation>Use a dynamic IP service</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Log in</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Select DVR</source>
        <translation>Select DVR</translation>
    </message>
    <message>
        <source>IP address:</source>
        <translation>IP address:</translation>
    </message>
</context>
<context>
    <name>dvr::app::MainWindow</name>
    <message>
        <source>Cannot read the DVR disk %1.</source>
        <translation>Cannot read the DVR disk %1.</translation>
    </message>
    <message>
        <source>Cannot open %1: no such file.</source>
        <translation>Cannot open %1: no such file.</translation>
    </message>
    <message>
        <source>Cannot open %1: it is a folder.</source>
        <translation>Cannot open %1: it is a folder.</translation>
    </message>
    <message>
        <source>Cannot open %1: it holds no recording this viewer can play.</source>
        <translation>Cannot open %1: it holds no recording this viewer can play.</translation>
    </message>
    <message>
        <source>Cannot open %1: %2.</source>
        <translation>Cannot open %1: %2.</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>All Files (*)</translation>
    </message>
    <message>
        <source>NDF File Format (*.NDF *.ndf)</source>
        <translation>NDF recordings (*.NDF *.ndf)</translation>
    </message>
    <message>
        <source>AVI Files (*.avi)</source>
        <translation>AVI Files (*.avi)</translation>
    </message>
    <message>
        <source>Internet low speed?</source>
        <translation>Is the Internet connection slow?</translation>
    </message>
    <message>
        <source>Export span</source>
        <translation>Export span</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>The settings were not saved: %1</source>
        <translation>The settings were not saved: %1</translation>
    </message>
    <message>
        <source>Cannot save the still image to %1.</source>
        <translation>Cannot save the still image to %1.</translation>
    </message>
    <message>
        <source>Cannot find the DVR &quot;%1&quot;: the name does not resolve to an address.</source>
        <translation>Cannot find the DVR &quot;%1&quot;: the name does not resolve to an address.</translation>
    </message>
    <message>
        <source>The session could not be started.</source>
        <translation>The session could not be started.</translation>
    </message>
    <message>
        <source>Cannot record to %1.</source>
        <translation>Cannot record to %1.</translation>
    </message>
    <message>
        <source>Cannot export to %1 (error %2).</source>
        <translation>Cannot export to %1 (error %2).</translation>
    </message>
    <message>
        <source>The export to %1 is missing %2 pictures: they could not be written.</source>
        <translation>The export to %1 is missing %2 pictures: they could not be written.</translation>
    </message>
    <message>
        <source>/PORT:%1 is not a port (1 to 65535).</source>
        <translation>/PORT:%1 is not a port (1 to 65535).</translation>
    </message>
</context>
<context>
    <name>dvr::app::NetworkOptionsDialog</name>
    <message>
        <source>常に手前に表示</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>Use DirectDraw</source>
        <translation>Use DirectDraw</translation>
    </message>
    <message>
        <source>Auto Reconnection (&amp;C)</source>
        <translation>Auto re&amp;connect</translation>
    </message>
    <message>
        <source>リピート再生 (&amp;R)</source>
        <translation>&amp;Repeat playback</translation>
    </message>
    <message>
        <source>Network Options</source>
        <translation>Network Options</translation>
    </message>
    <message>
        <source>全般</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Connection Timeout:</source>
        <translation>Connection time-out:</translation>
    </message>
    <message>
        <source>sec</source>
        <translation>seconds</translation>
    </message>
    <message>
        <source>DDNS configuration</source>
        <translation>DDNS configuration</translation>
    </message>
    <message>
        <source>IP:</source>
        <translation>IP:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Path for recording file</source>
        <translation>Recording folder</translation>
    </message>
    <message>
        <source>Mouse Remote Control</source>
        <translation>Mouse remote control</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Enable &amp;&amp; Hidden cusor on DVR side</source>
        <translation>On, with the cursor hidden on the DVR</translation>
    </message>
    <message>
        <source>Enable &amp;&amp; Display cusor on DVR side</source>
        <translation>On, with the cursor shown on the DVR</translation>
    </message>
</context>
<context>
    <name>dvr::app::OptionsDialog</name>
    <message>
        <source>常に手前に表示</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>日時表示</source>
        <translation>Show date and time</translation>
    </message>
    <message>
        <source>リピート再生 (&amp;R)</source>
        <translation>&amp;Repeat playback</translation>
    </message>
    <message>
        <source>Use DirectDraw</source>
        <translation>Use DirectDraw</translation>
    </message>
    <message>
        <source>オプション</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>全般</source>
        <translation>General</translation>
    </message>
    <message>
        <source>静止画の保存先</source>
        <translation>Still image folder</translation>
    </message>
</context>
<context>
    <name>dvr::app::TimeNavigation</name>
    <message>
        <source>Nothing was recorded at %1 or later.</source>
        <translation>Nothing was recorded at %1 or later.</translation>
    </message>
    <message>
        <source>No recorded time was found in this source.</source>
        <translation>No recorded time was found in this source.</translation>
    </message>
    <message>
        <source>The marked span runs across the point where the disk was last written over. Export the part before it and the part after it one by one.</source>
        <translation>The marked span runs across the point where the disk was last written over. Export the part before it and the part after it one by one.</translation>
    </message>
    <message>
        <source>No recorded block lies between %1 and %2 in one piece.</source>
        <translation>No recorded block lies between %1 and %2 in one piece.</translation>
    </message>
    <message>
        <source>The span copied into %1 holds no picture.</source>
        <translation>The span copied into %1 holds no picture.</translation>
    </message>
    <message>
        <source>The span is in %1, with its evidence in %1.sha256 and %1.json.</source>
        <translation>The span is in %1, with its evidence in %1.sha256 and %1.json.</translation>
    </message>
    <message>
        <source>Cannot copy the span into %1: it could not be read to its end, is more than 1 GiB, is the source itself, or the folder is not writable.</source>
        <translation>Cannot copy the span into %1: it could not be read to its end, is more than 1 GiB, is the source itself, or the folder is not writable.</translation>
    </message>
    <message>
        <source>No picture went into it.</source>
        <translation>No picture went into it.</translation>
    </message>
    <message>
        <source>It ends at %1, before the mark out.</source>
        <translation>It ends at %1, before the mark out.</translation>
    </message>
</context>
<context>
    <name>dvr::app::TimelineStrip</name>
    <message>
        <source>Mapping recorded time... %1%</source>
        <translation>Mapping recorded time... %1%</translation>
    </message>
</context>
</TS>
