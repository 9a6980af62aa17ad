<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>Commands</name>
    <message>
        <source>&amp;ファイルを開く...	Ctrl+O</source>
        <translation>&amp;ファイルを開く...	Ctrl+O</translation>
    </message>
    <message>
        <source>ファイルを開く</source>
        <translation>ファイルを開く</translation>
    </message>
    <message>
        <source>ディスクを開く...</source>
        <translation>ディスクを開く...</translation>
    </message>
    <message>
        <source>ファイルを閉じる</source>
        <translation>ファイルを閉じる</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>再生</translation>
    </message>
    <message>
        <source>巻戻し</source>
        <translation>巻戻し</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <source>早送り</source>
        <translation>早送り</translation>
    </message>
    <message>
        <source>早戻し</source>
        <translation>早戻し</translation>
    </message>
    <message>
        <source>コマ送り</source>
        <translation>コマ送り</translation>
    </message>
    <message>
        <source>コマ戻し</source>
        <translation>コマ戻し</translation>
    </message>
    <message>
        <source>Go to time...	Ctrl+T</source>
        <translation>時刻へ移動...	Ctrl+T</translation>
    </message>
    <message>
        <source>Mark in	I</source>
        <translation>開始点に設定	I</translation>
    </message>
    <message>
        <source>Mark out	O</source>
        <translation>終了点に設定	O</translation>
    </message>
    <message>
        <source>Export span...</source>
        <translation>範囲を保存...</translation>
    </message>
    <message>
        <source>時間表示</source>
        <translation>時間表示</translation>
    </message>
    <message>
        <source>単一画面</source>
        <translation>単一画面</translation>
    </message>
    <message>
        <source>4分割画面</source>
        <translation>4分割画面</translation>
    </message>
    <message>
        <source>Split 9</source>
        <translation>9分割画面</translation>
    </message>
    <message>
        <source>Split 16</source>
        <translation>16分割画面</translation>
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
        <translation>標準サイズ</translation>
    </message>
    <message>
        <source>最大化</source>
        <translation>最大化</translation>
    </message>
    <message>
        <source>常に手前に表示</source>
        <translation>常に手前に表示</translation>
    </message>
    <message>
        <source>ミュート</source>
        <translation>ミュート</translation>
    </message>
    <message>
        <source>静止画保存</source>
        <translation>静止画保存</translation>
    </message>
    <message>
        <source>AVI保存</source>
        <translation>AVI保存</translation>
    </message>
    <message>
        <source>AVI保存開始</source>
        <translation>AVI保存開始</translation>
    </message>
    <message>
        <source>オプション...</source>
        <translation>オプション...</translation>
    </message>
    <message>
        <source>&amp;Connect...</source>
        <translation>接続(&amp;C)...</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>接続</translation>
    </message>
    <message>
        <source>Start Local Recording</source>
        <translation>ローカル録画開始</translation>
    </message>
    <message>
        <source>Stop Local Recording</source>
        <translation>ローカル録画停止</translation>
    </message>
    <message>
        <source>再生(&amp;P)</source>
        <translation>再生(&amp;P)</translation>
    </message>
    <message>
        <source>Client(&amp;L)</source>
        <translation>クライアント(&amp;L)</translation>
    </message>
    <message>
        <source>バージョン情報	F10</source>
        <translation>バージョン情報	F10</translation>
    </message>
    <message>
        <source>閉じる	Alt+F4</source>
        <translation>閉じる	Alt+F4</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>切断</translation>
    </message>
    <message>
        <source>AVI保存停止</source>
        <translation>AVI保存停止</translation>
    </message>
    <message>
        <source>Dvr Control</source>
        <translation>DVRコントロール</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>録画</source>
        <translation>録画</translation>
    </message>
    <message>
        <source>カメラ 1</source>
        <translation>カメラ 1</translation>
    </message>
    <message>
        <source>カメラ 2</source>
        <translation>カメラ 2</translation>
    </message>
    <message>
        <source>カメラ 3</source>
        <translation>カメラ 3</translation>
    </message>
    <message>
        <source>カメラ 4</source>
        <translation>カメラ 4</translation>
    </message>
    <message>
        <source>Channel 5</source>
        <translation>チャンネル 5</translation>
    </message>
    <message>
        <source>Channel 6</source>
        <translation>チャンネル 6</translation>
    </message>
    <message>
        <source>Channel 7</source>
        <translation>チャンネル 7</translation>
    </message>
    <message>
        <source>Channel 8</source>
        <translation>チャンネル 8</translation>
    </message>
    <message>
        <source>Channel 9</source>
        <translation>チャンネル 9</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>メニュー</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>上</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>下</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>選択</translation>
    </message>
    <message>
        <source>Se&amp;q</source>
        <translation>シーケンス(&amp;Q)</translation>
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
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>IntegerField</name>
    <message>
        <source>%1 enter a whole number from %2 to %3.</source>
        <translation>%1 %2 から %3 までの整数を入力してください。</translation>
    </message>
</context>
<context>
    <name>PlayerState</name>
    <message>
        <source>停止</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>再生</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>一時停止</translation>
    </message>
</context>
<context>
    <name>dvr::app::AboutDialog</name>
    <message>
        <source>バージョン情報</source>
        <translation>バージョン情報</translation>
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
        <translation>ディスク選択</translation>
    </message>
    <message>
        <source>No disk could be opened. Reading DVR disks needs membership of the &quot;disk&quot; group or running as root.</source>
        <translation>ディスクを開けませんでした。DVR のディスクを読むには &quot;disk&quot; グループへの所属か root での実行が必要です。</translation>
    </message>
</context>
<context>
    <name>dvr::app::EncoderDialog</name>
    <message>
        <source>ビデオの圧縮</source>
        <translation>ビデオの圧縮</translation>
    </message>
    <message>
        <source>既定</source>
        <translation>既定</translation>
    </message>
    <message>
        <source>1 is the best picture, 31 the smallest file.</source>
        <translation>1 が最高画質、31 が最小ファイルです。</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>なし</translation>
    </message>
    <message>
        <source> kbit/s</source>
        <translation> kbit/s</translation>
    </message>
    <message>
        <source>圧縮プログラム(&amp;C):</source>
        <translation>圧縮プログラム(&amp;C):</translation>
    </message>
    <message>
        <source>品質(&amp;Q):</source>
        <translation>品質(&amp;Q):</translation>
    </message>
    <message>
        <source>データレート(&amp;D):</source>
        <translation>データレート(&amp;D):</translation>
    </message>
    <message>
        <source>キーフレーム間隔(&amp;K):</source>
        <translation>キーフレーム間隔(&amp;K):</translation>
    </message>
</context>
<context>
    <name>dvr::app::FolderBrowser</name>
    <message>
        <source>フォルダの参照</source>
        <translation>フォルダの参照</translation>
    </message>
    <message>
        <source>フォルダの選択</source>
        <translation>フォルダの選択</translation>
    </message>
    <message>
        <source>参照...</source>
        <translation>参照...</translation>
    </message>
</context>
<context>
    <name>dvr::app::GoToTimeDialog</name>
    <message>
        <source>Go to time</source>
        <translation>時刻へ移動</translation>
    </message>
    <message>
        <source>Recorded from %1 to %2.
Show the first picture at or after:</source>
        <translation>%1 から %2 まで録画されています。
次の時刻以降の最初の画像を表示:</translation>
    </message>
</context>
<context>
    <name>dvr::app::LoginDialog</name>
    <message>
        <source>Use dynamic ip service</source>
        <translation>ダイナミック IP サービスを使う</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>ポート:</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>ログイン</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>パスワード:</translation>
    </message>
    <message>
        <source>Select DVR</source>
        <translation>DVR を選択</translation>
    </message>
    <message>
        <source>IP address:</source>
        <translation>IP アドレス:</translation>
    </message>
</context>
<context>
    <name>dvr::app::MainWindow</name>
    <message>
        <source>Cannot read the DVR disk %1.</source>
        <translation>DVR のディスク %1 を読めません。</translation>
    </message>
    <message>
        <source>Cannot open %1: no such file.</source>
        <translation>%1 を開けません: ファイルがありません。</translation>
    </message>
    <message>
        <source>Cannot open %1: it is a folder.</source>
        <translation>%1 を開けません: フォルダです。</translation>
    </message>
    <message>
        <source>Cannot open %1: it holds no recording this viewer can play.</source>
        <translation>%1 を開けません: このビューアで再生できる録画がありません。</translation>
    </message>
    <message>
        <source>Cannot open %1: %2.</source>
        <translation>%1 を開けません: %2。</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>すべてのファイル (*)</translation>
    </message>
    <message>
        <source>NDF File Format (*.NDF *.ndf)</source>
        <translation>NDF ファイル形式 (*.NDF *.ndf)</translation>
    </message>
    <message>
        <source>AVI Files (*.avi)</source>
        <translation>AVI ファイル (*.avi)</translation>
    </message>
    <message>
        <source>Internet low speed?</source>
        <translation>インターネット回線は低速ですか?</translation>
    </message>
    <message>
        <source>Export span</source>
        <translation>範囲の保存</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>音量</translation>
    </message>
    <message>
        <source>The settings were not saved: %1</source>
        <translation>設定を保存できませんでした: %1</translation>
    </message>
    <message>
        <source>Cannot save the still image to %1.</source>
        <translation>静止画を %1 に保存できません。</translation>
    </message>
    <message>
        <source>Cannot find the DVR &quot;%1&quot;: the name does not resolve to an address.</source>
        <translation>DVR &quot;%1&quot; が見つかりません: 名前からアドレスを解決できません。</translation>
    </message>
    <message>
        <source>The session could not be started.</source>
        <translation>セッションを開始できませんでした。</translation>
    </message>
    <message>
        <source>Cannot record to %1.</source>
        <translation>%1 に録画できません。</translation>
    </message>
    <message>
        <source>Cannot export to %1 (error %2).</source>
        <translation>%1 に保存できません (エラー %2)。</translation>
    </message>
    <message>
        <source>The export to %1 is missing %2 pictures: they could not be written.</source>
        <translation>%1 への保存で %2 枚の画像が欠けています: 書き込めませんでした。</translation>
    </message>
    <message>
        <source>/PORT:%1 is not a port (1 to 65535).</source>
        <translation>/PORT:%1 はポート番号ではありません (1 から 65535)。</translation>
    </message>
</context>
<context>
    <name>dvr::app::NetworkOptionsDialog</name>
    <message>
        <source>常に手前に表示</source>
        <translation>常に手前に表示</translation>
    </message>
    <message>
        <source>Use DirectDraw</source>
        <translation>DirectDraw を使う</translation>
    </message>
    <message>
        <source>Auto Reconnection (&amp;C)</source>
        <translation>自動再接続 (&amp;C)</translation>
    </message>
    <message>
        <source>リピート再生 (&amp;R)</source>
        <translation>リピート再生 (&amp;R)</translation>
    </message>
    <message>
        <source>Network Options</source>
        <translation>ネットワークオプション</translation>
    </message>
    <message>
        <source>全般</source>
        <translation>全般</translation>
    </message>
    <message>
        <source>Connection Timeout:</source>
        <translation>接続タイムアウト:</translation>
    </message>
    <message>
        <source>sec</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>DDNS configuration</source>
        <translation>DDNS 設定</translation>
    </message>
    <message>
        <source>IP:</source>
        <translation>IP:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>ポート:</translation>
    </message>
    <message>
        <source>Path for recording file</source>
        <translation>録画ファイルの保存先</translation>
    </message>
    <message>
        <source>Mouse Remote Control</source>
        <translation>マウスによるリモートコントロール</translation>
    </message>
    <message>
        <source>Disable</source>
        <translation>無効</translation>
    </message>
    <message>
        <source>Enable &amp;&amp; Hidden cusor on DVR side</source>
        <translation>有効 (DVR 側のカーソルを隠す)</translation>
    </message>
    <message>
        <source>Enable &amp;&amp; Display cusor on DVR side</source>
        <translation>有効 (DVR 側にカーソルを表示)</translation>
    </message>
</context>
<context>
    <name>dvr::app::OptionsDialog</name>
    <message>
        <source>常に手前に表示</source>
        <translation>常に手前に表示</translation>
    </message>
    <message>
        <source>日時表示</source>
        <translation>日時表示</translation>
    </message>
    <message>
        <source>リピート再生 (&amp;R)</source>
        <translation>リピート再生 (&amp;R)</translation>
    </message>
    <message>
        <source>Use DirectDraw</source>
        <translation>DirectDraw を使う</translation>
    </message>
    <message>
        <source>オプション</source>
        <translation>オプション</translation>
    </message>
    <message>
        <source>全般</source>
        <translation>全般</translation>
    </message>
    <message>
        <source>静止画の保存先</source>
        <translation>静止画の保存先</translation>
    </message>
</context>
<context>
    <name>dvr::app::TimeNavigation</name>
    <message>
        <source>Nothing was recorded at %1 or later.</source>
        <translation>%1 以降の録画はありません。</translation>
    </message>
    <message>
        <source>No recorded time was found in this source.</source>
        <translation>この録画には録画時刻が見つかりませんでした。</translation>
    </message>
    <message>
        <source>The marked span runs across the point where the disk was last written over. Export the part before it and the part after it one by one.</source>
        <translation>指定した範囲は、ディスクが最後に上書きされた位置をまたいでいます。その前の部分と後の部分を一つずつ保存してください。</translation>
    </message>
    <message>
        <source>No recorded block lies between %1 and %2 in one piece.</source>
        <translation>%1 から %2 までをひと続きで含む録画ブロックがありません。</translation>
    </message>
    <message>
        <source>The span copied into %1 holds no picture.</source>
        <translation>%1 にコピーした範囲には画像がありません。</translation>
    </message>
    <message>
        <source>The span is in %1, with its evidence in %1.sha256 and %1.json.</source>
        <translation>範囲を %1 に保存しました。検証用の情報は %1.sha256 と %1.json にあります。</translation>
    </message>
    <message>
        <source>Cannot copy the span into %1: it could not be read to its end, is more than 1 GiB, is the source itself, or the folder is not writable.</source>
        <translation>範囲を %1 にコピーできません: 最後まで読めないか、1 GiB を超えるか、コピー元そのものか、フォルダに書き込めません。</translation>
    </message>
    <message>
        <source>No picture went into it.</source>
        <translation>画像は1枚も保存されていません。</translation>
    </message>
    <message>
        <source>It ends at %1, before the mark out.</source>
        <translation>終了点より前の %1 で終わっています。</translation>
    </message>
</context>
<context>
    <name>dvr::app::TimelineStrip</name>
    <message>
        <source>Mapping recorded time... %1%</source>
        <translation>録画時刻を調べています... %1%</translation>
    </message>
</context>
</TS>
