<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="ja_JP">
<context>
    <name>Form</name>
    <message>
        <source>シリアル番号は7文字以上で入力してください。</source>
        <translation>Enter a serial number of at least 7 characters.</translation>
    </message>
    <message>
        <source>CSVファイル保存</source>
        <translation>Save CSV file</translation>
    </message>
    <message>
        <source>保存対象</source>
        <translation>Data to save</translation>
    </message>
    <message>
        <source>開始波長(nm)</source>
        <translation>Start wavelength (nm)</translation>
    </message>
    <message>
        <source>終了波長(nm)</source>
        <translation>End wavelength (nm)</translation>
    </message>
    <message>
        <source>波長ステップ(nm)</source>
        <translation>Wavelength step (nm)</translation>
    </message>
    <message>
        <source>保存開始データ番号</source>
        <translation>First data number</translation>
    </message>
    <message>
        <source>保存終了データ番号</source>
        <translation>Last data number</translation>
    </message>
    <message>
        <source>使用センサー</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>光源データ</source>
        <translation>Light source data</translation>
    </message>
    <message>
        <source>反射/透過データ</source>
        <translation>Reflectance/transmittance data</translation>
    </message>
    <message>
        <source>反射基準データ</source>
        <translation>White reference table</translation>
    </message>
    <message>
        <source>透過基準データ</source>
        <translation>100% transmission table</translation>
    </message>
    <message>
        <source>データが保存されていません</source>
        <translation>No data has been recorded.</translation>
    </message>
    <message>
        <source>波長ステップには1以上の値を入力してください。</source>
        <translation>Enter a wavelength step of 1 or more.</translation>
    </message>
    <message>
        <source>CSV保存(AUTO)</source>
        <translation>CSV (auto)</translation>
    </message>
    <message>
        <source>CSV保存</source>
        <translation>CSV</translation>
    </message>
    <message>
        <source>Select Folder</source>
        <translation>Select Folder</translation>
    </message>
    <message>
        <source>csv file(*.csv)|*.csv||</source>
        <translation>CSV file(*.csv)|*.csv||</translation>
    </message>
    <message>
        <source>CSVファイルを保存できませんでした</source>
        <translation>The CSV file could not be saved.</translation>
    </message>
    <message>
        <source>数値編集</source>
        <translation>Edit value</translation>
    </message>
    <message>
        <source>最大値</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>最小値</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>最大値は最小値より大きい値にしてください。</source>
        <translation>The maximum must be greater than the minimum.</translation>
    </message>
    <message>
        <source>作業履歴（検出～計測、任意文字挿入可能）</source>
        <translation>Operation history (detection to measurement; you may add your own text)</translation>
    </message>
    <message>
        <source>テキストファイル保存</source>
        <translation>Save as text file</translation>
    </message>
    <message>
        <source>計測の履歴を表示します</source>
        <translation>Showing the measurement history</translation>
    </message>
    <message>
        <source>計測の履歴を表示しますが、履歴がありませんでした</source>
        <translation>There is no measurement history to show</translation>
    </message>
    <message>
        <source>txt file(*.txt)|*.txt||</source>
        <translation>Text file(*.txt)|*.txt||</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Maintenance</translation>
    </message>
    <message>
        <source>&#x3000;&#x3000;波長&#x3000;ゲイン&#x3000;ホワイト&#x3000;透過１００％&#x3000;ダーク（２１ステップ）</source>
        <translation>    Wavelength  Gain  White  100% trans.  Dark (21 steps)</translation>
    </message>
    <message>
        <source>ダーク計測を終了しました</source>
        <translation>Dark measurement finished</translation>
    </message>
    <message>
        <source>ゲインを計測しました</source>
        <translation>Gain measured</translation>
    </message>
    <message>
        <source>装置への書込みを完了しました</source>
        <translation>Writing to the instrument completed</translation>
    </message>
    <message>
        <source>装置への書込みは完了していません。次の書込みに装置が応答しませんでした:</source>
        <translation>Writing to the instrument did not complete. The instrument did not answer this write:</translation>
    </message>
    <message>
        <source>センサーが選択されていません</source>
        <translation>No sensor is selected</translation>
    </message>
    <message>
        <source>計測中はメンテナンス作業を開始できません</source>
        <translation>Maintenance cannot start while measuring</translation>
    </message>
    <message>
        <source>校正リストは1000行までです。1001行目以降は読み込みませんでした</source>
        <translation>A calibration list holds at most 1000 lines. Lines from 1001 on were not read</translation>
    </message>
    <message>
        <source>この校正データは使えません: </source>
        <translation>This calibration data cannot be used: </translation>
    </message>
    <message>
        <source>装置へ書き込みませんでした。テーブルが正しくありません: </source>
        <translation>Nothing was written to the instrument. A table is not valid: </translation>
    </message>
    <message>
        <source>校正リストを読めません: </source>
        <translation>Cannot read the calibration list: </translation>
    </message>
    <message>
        <source>400nmより長い波長の画素がないため、ゲインを計算できません。テーブルは変更していません</source>
        <translation>No pixel has a wavelength above 400 nm, so the gain cannot be calculated. The tables are unchanged</translation>
    </message>
    <message>
        <source>計測値が0の画素があるため、ゲインを計算できません。テーブルは変更していません</source>
        <translation>A pixel measured 0, so the gain cannot be calculated. The tables are unchanged</translation>
    </message>
    <message>
        <source>ミラー制御</source>
        <translation>Mirror control</translation>
    </message>
    <message>
        <source>露光時間には0以上9500以下の値(ms)を入力してください。</source>
        <translation>Enter an exposure time from 0 to 9500 (ms).</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>検出</source>
        <translation>Detect</translation>
    </message>
    <message>
        <source>解除</source>
        <translation>Release</translation>
    </message>
    <message>
        <source>平均回数には1以上の値を入力してください。</source>
        <translation>Enter an averaging count of 1 or more.</translation>
    </message>
    <message>
        <source>登録するデータがありません。計測してから登録してください。</source>
        <translation>There is no data to register. Measure first, then register.</translation>
    </message>
    <message>
        <source>tintrose data file(*.trdata)|*.trdata||</source>
        <translation>tintrose data file(*.trdata)|*.trdata||</translation>
    </message>
    <message>
        <source>予期しないファイル形式です。</source>
        <translation>Unexpected file format.</translation>
    </message>
    <message>
        <source>%1 の末尾以降にアクセスしようとしました。</source>
        <translation>Attempted to read beyond the end of %1.</translation>
    </message>
    <message>
        <source>履歴に保存できない文字が含まれています。</source>
        <translation>The history contains characters that cannot be stored.</translation>
    </message>
    <message>
        <source>BACK/NEXT操作を連続して行います。</source>
        <translation>BACK/NEXT now play the records continuously.</translation>
    </message>
    <message>
        <source>BACK/NEXT操作を解除します。</source>
        <translation>BACK/NEXT now step one record at a time.</translation>
    </message>
    <message>
        <source>選択したセンサーのデータのみ表示します。</source>
        <translation>Showing only the selected sensor&apos;s data.</translation>
    </message>
    <message>
        <source>全センサーのデータを表示します。</source>
        <translation>Showing the data of all sensors.</translation>
    </message>
    <message>
        <source>波長スペクトルの最大値、最小値およびその波長を表示します</source>
        <translation>Shows the spectrum&apos;s maximum and minimum and their wavelengths</translation>
    </message>
    <message>
        <source>波長スペクトルから CIE-X,Y,Zを計算、さらに、ＲＧＢに変換し表示します。</source>
        <translation>Calculates CIE X, Y, Z from the spectrum and shows them converted to RGB.</translation>
    </message>
    <message>
        <source>削除するデータはありません</source>
        <translation>There is no data to delete</translation>
    </message>
    <message>
        <source>データを削除していいですか？</source>
        <translation>Delete the data?</translation>
    </message>
    <message>
        <source>以前取得したデータを表示します</source>
        <translation>Showing previously recorded data</translation>
    </message>
    <message>
        <source>BACK/NEXTボタンで表示できます</source>
        <translation>Use BACK/NEXT to browse it</translation>
    </message>
    <message>
        <source>センサーを接続して、検出ボタンを押してください</source>
        <translation>Connect the sensors, then press Detect</translation>
    </message>
    <message>
        <source>比較ファイルを開けませんでした: %1</source>
        <translation>The comparison file could not be opened: %1</translation>
    </message>
    <message>
        <source>波長テーブル</source>
        <translation>wavelength table</translation>
    </message>
    <message>
        <source>ダークテーブル(ステップ%1)</source>
        <translation>dark table (step %1)</translation>
    </message>
    <message>
        <source>感度テーブル</source>
        <translation>sensitivity table</translation>
    </message>
    <message>
        <source>ホワイトテーブル</source>
        <translation>white table</translation>
    </message>
    <message>
        <source>透過テーブル</source>
        <translation>transmission table</translation>
    </message>
    <message>
        <source>センサー%1 (%2) への%3の登録に失敗しました（応答 %4 / %5 バイト）</source>
        <translation>Sensor %1 (%2): registering the %3 failed (answered %4 / %5 bytes)</translation>
    </message>
    <message>
        <source>センサー%1 (%2) の%3が途中までしか読めませんでした（%4 / %5 バイト）</source>
        <translation>Sensor %1 (%2): the %3 was read only in part (%4 / %5 bytes)</translation>
    </message>
    <message>
        <source>このセンサーは計測に使いません (left out: its tables did not arrive whole)</source>
        <translation>This sensor is not used for measuring (left out: its tables did not arrive whole)</translation>
    </message>
    <message>
        <source>インデックス %1 の装置が正しく応答しないため、検出から外しました (left out at index %1: %2)</source>
        <translation>The instrument at index %1 did not answer properly and was left out of detection (%2)</translation>
    </message>
    <message>
        <source>計測モードを選択してください</source>
        <translation>Choose the measurement mode</translation>
    </message>
    <message>
        <source>検出したセンサーを選択すると、露光時間を変更できます</source>
        <translation>Select a detected sensor to change its exposure time</translation>
    </message>
    <message>
        <source>取り込み済みのデータはクリアされますが、よろしかったでしょうか</source>
        <translation>The recorded data will be cleared. Continue?</translation>
    </message>
    <message>
        <source>センサーを接続して検出ボタンを押してください</source>
        <translation>Connect the sensors and press Detect</translation>
    </message>
    <message>
        <source>露光時間を変更して開始ボタンを押すことで計測を開始します</source>
        <translation>Change the exposure time, then press Start to measure</translation>
    </message>
    <message>
        <source>以前取得したデータを BACK/NEXTボタンで表示することができます</source>
        <translation>Previously recorded data can be browsed with BACK/NEXT</translation>
    </message>
    <message>
        <source>計測中はCSV保存できません</source>
        <translation>CSV files cannot be saved while measuring</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>温度データをつける</source>
        <translation>Add temp.</translation>
    </message>
    <message>
        <source>露光時間データをつける</source>
        <translation>Add exp.</translation>
    </message>
    <message>
        <source>波長データをつける</source>
        <translation>Add wave.</translation>
    </message>
    <message>
        <source>データを縦方向に保存する</source>
        <translation>In columns</translation>
    </message>
    <message>
        <source>データ取得時にファイルに保存する</source>
        <translation>Save to a file at every measurement</translation>
    </message>
    <message>
        <source>固定ファイル名</source>
        <translation>Fixed file name</translation>
    </message>
    <message>
        <source>時刻ファイル名</source>
        <translation>File name from the time</translation>
    </message>
    <message>
        <source>データ番号ファイル名</source>
        <translation>File name from the data number</translation>
    </message>
    <message>
        <source>CSVファイル保存フォルダ</source>
        <translation>Folder for the CSV files</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>センサー%1 (%2) %3: 応答 %4 / %5 バイト</source>
        <translation>Sensor %1 (%2) %3: answered %4 / %5 bytes</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>初期化</source>
        <translation>Initialise</translation>
    </message>
    <message>
        <source>ダーク計測</source>
        <translation>Dark</translation>
    </message>
    <message>
        <source>ゲイン設定</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>装置へ書き込む</source>
        <translation>Write to instrument</translation>
    </message>
    <message>
        <source>係数</source>
        <translation>coefficients</translation>
    </message>
    <message>
        <source>ダークテーブル</source>
        <translation>dark table</translation>
    </message>
    <message>
        <source>画素%1の波長が%2〜%3nmの範囲にありません</source>
        <translation>The wavelength of pixel %1 is outside %2 to %3 nm</translation>
    </message>
    <message>
        <source>画素%1で波長が増えていません</source>
        <translation>The wavelength does not rise at pixel %1</translation>
    </message>
    <message>
        <source>係数が有限の数ではありません</source>
        <translation>A coefficient is not a finite number</translation>
    </message>
    <message>
        <source>ダークテーブルに有限でない値があります</source>
        <translation>The dark table holds a value that is not finite</translation>
    </message>
    <message>
        <source>ホワイトテーブルに有限でない値があります</source>
        <translation>The white table holds a value that is not finite</translation>
    </message>
    <message>
        <source>透過テーブルに有限でない値があります</source>
        <translation>The transmission table holds a value that is not finite</translation>
    </message>
    <message>
        <source>感度テーブルに有限でない値があります</source>
        <translation>The sensitivity table holds a value that is not finite</translation>
    </message>
    <message>
        <source>set</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>露光時間(ms)</source>
        <translation>Exposure (ms)</translation>
    </message>
    <message>
        <source>計測モード</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>光源</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>反射</source>
        <translation>Refl</translation>
    </message>
    <message>
        <source>透過</source>
        <translation>Trans</translation>
    </message>
    <message>
        <source>平均回数</source>
        <translation>Averages</translation>
    </message>
    <message>
        <source>センサー</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>記録保存</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>計測間隔(ms)</source>
        <translation>Interval (ms)</translation>
    </message>
    <message>
        <source>波長感度補正</source>
        <translation>Sens. corr.</translation>
    </message>
    <message>
        <source>選択した分光器のみ表示</source>
        <translation>Selected only</translation>
    </message>
    <message>
        <source>ホワイト設定</source>
        <translation>White ref.</translation>
    </message>
    <message>
        <source>100%透過設定</source>
        <translation>100% trans.</translation>
    </message>
    <message>
        <source>ワンショット</source>
        <translation>One shot</translation>
    </message>
    <message>
        <source>カラー表示</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>SkyBGD設定</source>
        <translation>Sky BGD</translation>
    </message>
    <message>
        <source>BACK</source>
        <translation>BACK</translation>
    </message>
    <message>
        <source>NEXT</source>
        <translation>NEXT</translation>
    </message>
    <message>
        <source>連続再生</source>
        <translation>Playback</translation>
    </message>
    <message>
        <source>操作履歴表示</source>
        <translation>History</translation>
    </message>
    <message>
        <source>ダーク再設定</source>
        <translation>Dark reset</translation>
    </message>
    <message>
        <source>メンテナンス作業</source>
        <translation>Maintenance</translation>
    </message>
    <message>
        <source>データクリア</source>
        <translation>Clear data</translation>
    </message>
    <message>
        <source>比較</source>
        <translation>Comp.</translation>
    </message>
    <message>
        <source>表示データ</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>ＣＳＶ保存</source>
        <translation>CSV</translation>
    </message>
    <message>
        <source>最大/最小/温度</source>
        <translation>Stats</translation>
    </message>
    <message>
        <source>ＣＩＥデータ</source>
        <translation>CIE</translation>
    </message>
    <message>
        <source>装置が外れました</source>
        <translation>the instrument was disconnected</translation>
    </message>
    <message>
        <source>応答がありません</source>
        <translation>no answer</translation>
    </message>
    <message>
        <source>応答が途中で切れました</source>
        <translation>the answer was cut short</translation>
    </message>
    <message>
        <source>停止しました</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>センサー%1 (%2) の記録 %3 で計測を停止しました: %4</source>
        <translation>Sensor %1 (%2): measuring stopped at record %3: %4</translation>
    </message>
    <message>
        <source>センサー%1 (%2) で計測を停止しました: %3</source>
        <translation>Sensor %1 (%2): measuring stopped: %3</translation>
    </message>
    <message>
        <source>（%1 / %2 バイト）</source>
        <translation> (%1 / %2 bytes)</translation>
    </message>
    <message>
        <source>ファイルを保存できません。</source>
        <translation>The file cannot be saved.</translation>
    </message>
    <message>
        <source>停止ボタンを押すことで計測を停止します</source>
        <translation>Press Stop to stop measuring</translation>
    </message>
    <message>
        <source>露光時間、平均回数を設定して開始ボタンを押すことで計測を開始します</source>
        <translation>Set the exposure time and averages, then press Start to measure</translation>
    </message>
    <message>
        <source>計測中&#x3000;経過時間 %1 sec</source>
        <translation>Measuring  elapsed %1 s</translation>
    </message>
    <message>
        <source>選択したセンサー、現在表示データを登録します。</source>
        <translation>Registers the selected sensor&apos;s displayed data.</translation>
    </message>
    <message>
        <source>表示中のデータは装置から完全に届かなかったため、登録できません。計測し直してください。</source>
        <translation>The displayed data did not arrive whole from the instrument and cannot be registered. Please measure again.</translation>
    </message>
    <message>
        <source>ダーク計測をすると以前のデータが変わってしまいます。先にデータを保存し、データクリアをしてください</source>
        <translation>A dark measurement would change the recorded data. Save the data first, then clear it</translation>
    </message>
    <message>
        <source>ティントローズを遮光してください。ダーク計測には３０秒かかります。よろしいですか?</source>
        <translation>Shade the instrument from all light. The dark measurement takes 30 seconds. Continue?</translation>
    </message>
    <message>
        <source>空計測中&#x3000;経過時間 %1 sec</source>
        <translation>Blank frame  elapsed %1 s</translation>
    </message>
    <message>
        <source>ダーク計測中&#x3000;経過時間 %1 sec</source>
        <translation>Dark frame  elapsed %1 s</translation>
    </message>
    <message>
        <source>空の１０秒計測を実施します</source>
        <translation>Taking the 10-second blank frame</translation>
    </message>
    <message>
        <source>空の１０秒計測を実施しました</source>
        <translation>The 10-second blank frame is taken</translation>
    </message>
    <message>
        <source>ダークの１０秒計測を実施します</source>
        <translation>Taking the 10-second dark frame</translation>
    </message>
    <message>
        <source>ダークの１０秒計測を終了しました</source>
        <translation>The 10-second dark frame is taken</translation>
    </message>
    <message>
        <source>ダーク計測を終了しました。装置へ登録しますか?</source>
        <translation>The dark measurement is finished. Register it in the instruments?</translation>
    </message>
    <message>
        <source>装置への登録を終了しました。計測が可能です</source>
        <translation>Registration finished. Ready to measure</translation>
    </message>
    <message>
        <source>装置への登録に失敗しました</source>
        <translation>Registration in the instrument failed</translation>
    </message>
    <message>
        <source>ダーク登録中</source>
        <translation>Registering the dark</translation>
    </message>
    <message>
        <source>反射率測定のための白色板での測定値を登録します。</source>
        <translation>Registers the white standard&apos;s reading for reflectance measurement.</translation>
    </message>
    <message>
        <source>白色板での測定値を登録しますか</source>
        <translation>Register the white standard&apos;s reading?</translation>
    </message>
    <message>
        <source>透過率測定のための透明状態での測定値を登録します。</source>
        <translation>Registers the clear (100% transmission) reading for transmittance measurement.</translation>
    </message>
    <message>
        <source>透過１００％での測定値を登録しますか</source>
        <translation>Register the 100% transmission reading?</translation>
    </message>
    <message>
        <source>光のないときのデータ（ダーク）を登録します。</source>
        <translation>Registers the data without light (dark).</translation>
    </message>
    <message>
        <source>光のない測定値（ダーク）を登録しますか</source>
        <translation>Register the reading without light (dark)?</translation>
    </message>
    <message>
        <source>SkyBGD解除</source>
        <translation>Sky BGD off</translation>
    </message>
    <message>
        <source>光源を測定します</source>
        <translation>Measures the light source</translation>
    </message>
    <message>
        <source>反射率を測定します（ホワイト設定が必要になります）</source>
        <translation>Measures reflectance (needs the white reference)</translation>
    </message>
    <message>
        <source>透過率を測定します（透過１００％設定が必要になります）</source>
        <translation>Measures transmittance (needs the 100% transmission reference)</translation>
    </message>
    <message>
        <source>波長別感度補正モードで計測をします</source>
        <translation>Measures with the sensitivity correction</translation>
    </message>
    <message>
        <source>波長別感度補正モード/補正なしを選択できます</source>
        <translation>You can measure with or without the sensitivity correction</translation>
    </message>
    <message>
        <source>記録モードに設定しました</source>
        <translation>Recording is on</translation>
    </message>
    <message>
        <source>計測開始をすると、データを記録します</source>
        <translation>Measurements will be recorded after Start</translation>
    </message>
    <message>
        <source>記録モードを解除しました</source>
        <translation>Recording is off</translation>
    </message>
    <message>
        <source>計測開始をすると、最後のデータのみ記録します</source>
        <translation>Only the last measurement is kept after Start</translation>
    </message>
    <message>
        <source>計測を指定した間隔で実行します</source>
        <translation>Measures at the given interval</translation>
    </message>
    <message>
        <source>間隔をｍｓで設定してください</source>
        <translation>Set the interval in ms</translation>
    </message>
    <message>
        <source>計測を最短で実行します</source>
        <translation>Measures as fast as possible</translation>
    </message>
    <message>
        <source>波長別感度補正を設定します</source>
        <translation>Sensitivity correction on</translation>
    </message>
    <message>
        <source>波長別感度補正を解除します</source>
        <translation>Sensitivity correction off</translation>
    </message>
    <message>
        <source>ダーク計測を中止しました。ダークは登録していません</source>
        <translation>The dark measurement was stopped. No dark was registered</translation>
    </message>
    <message>
        <source>ダークは登録していません（装置のダークテーブルは変わっていません）</source>
        <translation>No dark was registered (the instruments&apos; dark tables are unchanged)</translation>
    </message>
</context>
<context>
    <name>Window</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>保存されずに終わった記録があります。
%1 (%2 bytes, %3)
記録を復元しますか? 破棄すると元に戻せません。</source>
        <translation>A recording ended without being saved.
%1 (%2 bytes, %3)
Recover its records? Discarded records cannot be brought back.</translation>
    </message>
    <message>
        <source>復元</source>
        <translation>Recover</translation>
    </message>
    <message>
        <source>破棄</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>後で</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>%1 回分の記録を復元しました。保存してください。</source>
        <translation>Recovered the records of %1 passes. Please save them.</translation>
    </message>
    <message>
        <source>
(途中で切れた最後の記録は除きました)</source>
        <translation>
(The last record, which was cut short, was left out.)</translation>
    </message>
    <message>
        <source>
記録は次のファイルに保存しました: %1</source>
        <translation>
The records were saved to this file instead: %1</translation>
    </message>
    <message>
        <source>
記録はどこにも保存できませんでした。</source>
        <translation>
The records could not be saved anywhere.</translation>
    </message>
    <message>
        <source>
記録はどこにも保存できませんでした。記録は次のファイルに残っています: %1</source>
        <translation>
The records could not be saved anywhere. They remain in this file: %1</translation>
    </message>
</context>
<context>
    <name>chromiva::ui::CAboutDlg</name>
    <message>
        <source>バージョン情報 chromiva</source>
        <translation>About chromiva</translation>
    </message>
    <message>
        <source>USB 分光器の計測・記録プログラム</source>
        <translation>Measures and records with USB spectrometers</translation>
    </message>
</context>
<context>
    <name>chromiva::ui::CMainFrame</name>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>CSVデータ保存</source>
        <translation>Save CSV data</translation>
    </message>
    <message>
        <source>グラフを画像で保存...</source>
        <translation>Save graph as picture...</translation>
    </message>
    <message>
        <source>画面どおりにグラフを画像で保存...</source>
        <translation>Save graph as shown as picture...</translation>
    </message>
    <message>
        <source>アプリケーションの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報 chromiva(&amp;A)...</source>
        <translation>&amp;About chromiva...</translation>
    </message>
    <message>
        <source>比較データを開く...</source>
        <translation>Open comparison data...</translation>
    </message>
    <message>
        <source>比較データ: 前のセンサー</source>
        <translation>Comparison: previous sensor</translation>
    </message>
    <message>
        <source>比較データ: 次のセンサー</source>
        <translation>Comparison: next sensor</translation>
    </message>
    <message>
        <source>比較データ: 前のデータ</source>
        <translation>Comparison: previous record</translation>
    </message>
    <message>
        <source>比較データ: 次のデータ</source>
        <translation>Comparison: next record</translation>
    </message>
    <message>
        <source>グラフを画像で保存</source>
        <translation>Save graph as picture</translation>
    </message>
    <message>
        <source>画像を保存できません: %1</source>
        <translation>Cannot save the picture: %1</translation>
    </message>
    <message>
        <source>ツール バー(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>ミラー制御...</source>
        <translation>Mirror control...</translation>
    </message>
    <message>
        <source>レディ</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>ステータス バー(&amp;S)</source>
        <translation>&amp;Status bar</translation>
    </message>
    <message>
        <source>最近使ったファイル</source>
        <translation>Recent files</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>%1 への変更を保存しますか?</source>
        <translation>Save the changes to %1?</translation>
    </message>
    <message>
        <source>予期しないファイル形式です。
%1: %2</source>
        <translation>Unexpected file format.
%1: %2</translation>
    </message>
    <message>
        <source>計測中のため保存できません。計測が終わってから保存してください。</source>
        <translation>Cannot save while measuring. Save once the measurement has ended.</translation>
    </message>
    <message>
        <source>計測中は終了できません。計測が終わってから終了してください。</source>
        <translation>Cannot exit while measuring. Exit once the measurement has ended.</translation>
    </message>
    <message>
        <source>表示言語を切り替えられません: 翻訳を読み込めませんでした。</source>
        <translation>Cannot switch the language: its translation could not be loaded.</translation>
    </message>
    <message>
        <source>標準</source>
        <translation>Standard</translation>
    </message>
</context>
<context>
    <name>chromiva::ui::Ctintrose_mfView</name>
    <message>
        <source>記録の控え (ジャーナル) に書き込めません。計測は続きますが、異常終了時には復元できません。
%1</source>
        <translation>Cannot write the record journal. Measuring goes on, but the records cannot be recovered after a crash.
%1</translation>
    </message>
</context>
<context>
    <name>chromiva::ui::GraphView</name>
    <message>
        <source>クリックでカウント軸の最大値を変更</source>
        <translation>Click to change the count axis maximum</translation>
    </message>
    <message>
        <source>クリックでカウント軸の最小値を変更</source>
        <translation>Click to change the count axis minimum</translation>
    </message>
    <message>
        <source>クリックで比率軸 (%) の最大値を変更</source>
        <translation>Click to change the ratio axis (%) maximum</translation>
    </message>
    <message>
        <source>クリックで比率軸 (%) の最小値を変更</source>
        <translation>Click to change the ratio axis (%) minimum</translation>
    </message>
</context>
</TS>
