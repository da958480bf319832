<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="ja_JP">
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
