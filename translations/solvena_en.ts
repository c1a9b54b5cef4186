<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Reason</name>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source> ほか%1件</source>
        <translation> and %1 more</translation>
    </message>
    <message>
        <source>。</source>
        <translation>. </translation>
    </message>
    <message numerus="yes">
        <source>CHART と OUTPUT が必要ですが、引数は %n 個です</source>
        <translation>
            <numerusform>CHART and OUTPUT are needed, %n argument was given</numerusform>
            <numerusform>CHART and OUTPUT are needed, %n arguments were given</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 行目: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます</source>
        <translation>The file is too large</translation>
    </message>
    <message>
        <source>ファイルは読み取り専用です</source>
        <translation>The file is read-only</translation>
    </message>
    <message>
        <source>通常のファイルではありません</source>
        <translation>Not a regular file</translation>
    </message>
    <message>
        <source>通常のファイルではありません（%1）</source>
        <translation>Not a regular file (%1)</translation>
    </message>
    <message>
        <source>フォルダ</source>
        <translation>a folder</translation>
    </message>
    <message>
        <source>名前付きパイプ</source>
        <translation>a named pipe</translation>
    </message>
    <message>
        <source>ソケット</source>
        <translation>a socket</translation>
    </message>
    <message>
        <source>デバイス</source>
        <translation>a device</translation>
    </message>
    <message>
        <source>リンクが循環しています（%1）</source>
        <translation>The links loop (%1)</translation>
    </message>
    <message>
        <source>リンク %1 の指す %2 がありません</source>
        <translation>The link %1 leads to %2, which does not exist</translation>
    </message>
    <message>
        <source>書き込み先のファイルを特定できません（%1）</source>
        <translation>Cannot tell which file to write (%1)</translation>
    </message>
    <message>
        <source>%1 を作れません</source>
        <translation>Cannot make %1</translation>
    </message>
    <message>
        <source>%1 をロックできません</source>
        <translation>Cannot lock %1</translation>
    </message>
    <message>
        <source>開かれていません（閉じたまま起動されました）</source>
        <translation>Not open (the command was started with it closed)</translation>
    </message>
    <message>
        <source>整数でない値があります</source>
        <translation>A value is not a whole number</translation>
    </message>
    <message>
        <source>数値が32ビットの範囲を超えています</source>
        <translation>A number is beyond 32 bits</translation>
    </message>
    <message>
        <source>行の途中でファイルが終わっています</source>
        <translation>The file ends inside a line</translation>
    </message>
    <message>
        <source>NUL バイトがあります。ファイルが壊れています</source>
        <translation>The file holds a NUL byte: it is damaged</translation>
    </message>
    <message>
        <source>ファイルが空です</source>
        <translation>The file is empty</translation>
    </message>
    <message>
        <source>列が%1を超えています</source>
        <translation>More than %1 columns</translation>
    </message>
    <message>
        <source>列幅が%1～%2の範囲外です</source>
        <translation>A column width is outside %1 to %2</translation>
    </message>
    <message>
        <source>信号が%1を超えています</source>
        <translation>More than %1 signals</translation>
    </message>
    <message>
        <source>ステップが%1を超えています</source>
        <translation>More than %1 steps</translation>
    </message>
    <message>
        <source>ステップが %1 個あり、1 行目の列の %2 ステップと合いません</source>
        <translation>The number of steps (%1) differs from that of the columns of line 1 (%2)</translation>
    </message>
    <message>
        <source>列数が%1～%2の範囲外です</source>
        <translation>The column count is outside %1 to %2</translation>
    </message>
    <message>
        <source>行数が%1～%2の範囲外です</source>
        <translation>The row count is outside %1 to %2</translation>
    </message>
    <message>
        <source>信号名に改行文字（CR、LF）を含めて保存することはできません（%1 番目の信号）</source>
        <translation>A signal name holding a line break (CR, LF) cannot be saved (signal %1)</translation>
    </message>
    <message>
        <source>信号名に NUL 文字を含めて保存することはできません（%1 番目の信号）</source>
        <translation>A signal name holding a NUL character cannot be saved (signal %1)</translation>
    </message>
    <message>
        <source>復元用のファイルではありません</source>
        <translation>Not a recovery file</translation>
    </message>
    <message>
        <source>復元用のファイルの見出しが壊れています</source>
        <translation>The recovery file&apos;s header is damaged</translation>
    </message>
    <message>
        <source>図の %1 行目: %2</source>
        <translation>chart line %1: %2</translation>
    </message>
    <message>
        <source>%1行%2列: %3</source>
        <translation>line %1, column %2: %3</translation>
    </message>
    <message>
        <source>大きすぎます（%1 MiB まで）</source>
        <translation>too large (%1 MiB at most)</translation>
    </message>
    <message>
        <source>UTF-8 として正しくないバイトがあります</source>
        <translation>bytes that are not UTF-8</translation>
    </message>
    <message>
        <source>入れ子が深すぎます</source>
        <translation>nested too deeply</translation>
    </message>
    <message>
        <source>値の後に余分な文字があります</source>
        <translation>text after the value</translation>
    </message>
    <message>
        <source>「,」か「]」が必要です</source>
        <translation>&quot;,&quot; or &quot;]&quot; expected</translation>
    </message>
    <message>
        <source>「,」か「}」が必要です</source>
        <translation>&quot;,&quot; or &quot;}&quot; expected</translation>
    </message>
    <message>
        <source>コメントが閉じていません</source>
        <translation>a comment is not closed</translation>
    </message>
    <message>
        <source>キーが必要です</source>
        <translation>a key expected</translation>
    </message>
    <message>
        <source>「:」が必要です</source>
        <translation>&quot;:&quot; expected</translation>
    </message>
    <message>
        <source>値として読めない語です（文字列なら引用符で囲みます）</source>
        <translation>a word that is no value (put a string in quotes)</translation>
    </message>
    <message>
        <source>値が必要ですが、テキストが終わっています</source>
        <translation>a value expected, but the text ends</translation>
    </message>
    <message>
        <source>値が必要です</source>
        <translation>a value expected</translation>
    </message>
    <message>
        <source>数値が正しくありません</source>
        <translation>a malformed number</translation>
    </message>
    <message>
        <source>16進数の数字が必要です</source>
        <translation>a hexadecimal digit expected</translation>
    </message>
    <message>
        <source>指数の数字が必要です</source>
        <translation>a digit of the exponent expected</translation>
    </message>
    <message>
        <source>数値の直後に余分な文字があります</source>
        <translation>text right after a number</translation>
    </message>
    <message>
        <source>\u の後には16進数4桁が必要です</source>
        <translation>\u takes four hexadecimal digits</translation>
    </message>
    <message>
        <source>対になっていないサロゲートです</source>
        <translation>a surrogate without its pair</translation>
    </message>
    <message>
        <source>文字列が閉じていません</source>
        <translation>a string is not closed</translation>
    </message>
    <message>
        <source>文字列の中で改行しています（行を続けるには行末に \ を置きます）</source>
        <translation>a line break inside a string (end the line with \ to go on)</translation>
    </message>
    <message>
        <source>\0 の後に数字は置けません</source>
        <translation>no digit may follow \0</translation>
    </message>
    <message>
        <source>\x の後には16進数2桁が必要です</source>
        <translation>\x takes two hexadecimal digits</translation>
    </message>
    <message>
        <source>\ の後に数字は置けません</source>
        <translation>no digit may follow \</translation>
    </message>
    <message>
        <source>キーの中の \ の後には u が必要です</source>
        <translation>\ in a key must be followed by u</translation>
    </message>
    <message>
        <source>キーに使えない文字のエスケープです</source>
        <translation>an escape of a character no key may hold</translation>
    </message>
    <message>
        <source>%1番目の信号</source>
        <translation>signal %1</translation>
    </message>
    <message>
        <source>信号「%1」</source>
        <translation>signal &apos;%1&apos;</translation>
    </message>
    <message>
        <source>WaveJSON として読めません（%1）</source>
        <translation>Not readable as WaveJSON (%1)</translation>
    </message>
    <message>
        <source>WaveJSON の最上位は { signal: [...] } の形のオブジェクトでなければなりません</source>
        <translation>WaveJSON must be an object of the form { signal: [...] } at its top</translation>
    </message>
    <message>
        <source>これは論理回路図（assign）です。開けるのは signal 配列を持つタイミングチャートだけです</source>
        <translation>This is a logic diagram (assign); only timing charts with a signal array open</translation>
    </message>
    <message>
        <source>これはレジスタ図（reg）です。開けるのは signal 配列を持つタイミングチャートだけです</source>
        <translation>This is a register diagram (reg); only timing charts with a signal array open</translation>
    </message>
    <message>
        <source>WaveJSON に signal 配列がありません</source>
        <translation>The WaveJSON has no signal array</translation>
    </message>
    <message>
        <source>signal 配列に信号でもグループでもない要素があります（%1番目の信号の位置）</source>
        <translation>The signal array holds an item that is neither a signal nor a group (where signal %1 would be)</translation>
    </message>
    <message>
        <source>信号が%1本あります。取り込めるのは%2本までです</source>
        <translation>%1 signals; at most %2 can be read</translation>
    </message>
    <message>
        <source>%1の name が文字列ではありません</source>
        <translation>The name of %1 is not a string</translation>
    </message>
    <message>
        <source>%1の wave が文字列ではありません</source>
        <translation>The wave of %1 is not a string</translation>
    </message>
    <message>
        <source>%1の period が数値ではありません</source>
        <translation>The period of %1 is not a number</translation>
    </message>
    <message>
        <source>%1の period（%2）は0より大きく%3以下の数でなければなりません</source>
        <translation>The period of %1 (%2) must be above 0 and at most %3</translation>
    </message>
    <message>
        <source>%1の phase が数値ではありません</source>
        <translation>The phase of %1 is not a number</translation>
    </message>
    <message>
        <source>%1の phase（%2）は%3～%4の数でなければなりません</source>
        <translation>The phase of %1 (%2) must be from %3 to %4</translation>
    </message>
    <message>
        <source>%1の名前に改行（CR、LF）か NUL があります。これらを含む名前は保存できません</source>
        <translation>The name of %1 holds a line break (CR, LF) or a NUL, which no saved name can hold</translation>
    </message>
    <message>
        <source>%1の名前に CP932（Shift_JIS）で表せない文字があります</source>
        <translation>The name of %1 holds a character CP932 (Shift_JIS) cannot hold</translation>
    </message>
    <message>
        <source>ステップが%1あります。取り込めるのは%2ステップまでです</source>
        <translation>%1 steps; at most %2 can be read</translation>
    </message>
    <message>
        <source>ステップが%1あります。取り込めるのは%2ステップまでです（波形の変化に合わせて、WaveJSON の1ステップを%3列にしています）</source>
        <translation>%1 steps; at most %2 can be read (to follow the waves&apos; changes, a WaveJSON step takes %3 columns)</translation>
    </message>
    <message>
        <source>チャートに入らないため省いたもの: %1</source>
        <translation>Left out, as a chart cannot hold them: %1</translation>
    </message>
    <message>
        <source>不定として取り込んだ文字: %1</source>
        <translation>Read as undefined: %1</translation>
    </message>
    <message>
        <source>データのラベル %1個</source>
        <translation>data labels: %1</translation>
    </message>
    <message>
        <source>node %1個</source>
        <translation>nodes: %1</translation>
    </message>
    <message>
        <source>edge %1本</source>
        <translation>edges: %1</translation>
    </message>
    <message>
        <source>区切り（|）%1個</source>
        <translation>gaps (|): %1</translation>
    </message>
    <message>
        <source>グループの見出し %1個（%2）</source>
        <translation>group captions: %1 (%2)</translation>
    </message>
    <message>
        <source>%1 行目の信号名に CP932 として正しくないバイトがあるため、WaveJSON に書き出せません</source>
        <translation>The signal name of row %1 holds bytes that are not CP932, so it cannot be written as WaveJSON</translation>
    </message>
    <message>
        <source>%1 行目の信号名に改行（CR、LF）か NUL があるため、WaveJSON に書き出せません</source>
        <translation>The signal name of row %1 holds a line break (CR, LF) or a NUL, so it cannot be written as WaveJSON</translation>
    </message>
    <message>
        <source>WaveJSON で表せない%1は書き出していません</source>
        <translation>Not written, as WaveJSON cannot hold them: %1</translation>
    </message>
    <message>
        <source>遅延</source>
        <translation>delays</translation>
    </message>
    <message>
        <source>エッジの矢印</source>
        <translation>edge arrows</translation>
    </message>
    <message>
        <source>数値表示</source>
        <translation>number labels</translation>
    </message>
    <message>
        <source>タイミング線</source>
        <translation>timing lines</translation>
    </message>
    <message>
        <source>列幅</source>
        <translation>column widths</translation>
    </message>
    <message>
        <source>画像の大きさが正しくありません (%1 × %2 ピクセル)</source>
        <translation>The picture&apos;s size is wrong (%1 × %2 pixels)</translation>
    </message>
    <message>
        <source>画像が大きすぎます (%1 × %2 ピクセル、縦横とも %3 ピクセルまで)</source>
        <translation>The picture is too large (%1 × %2 pixels; at most %3 pixels each way)</translation>
    </message>
    <message>
        <source>画像のためのメモリが足りません</source>
        <translation>Not enough memory for the picture</translation>
    </message>
    <message>
        <source>描画を開始できません</source>
        <translation>Cannot start drawing</translation>
    </message>
    <message>
        <source>描画を完了できません</source>
        <translation>Cannot finish drawing</translation>
    </message>
    <message>
        <source>時間が空です</source>
        <translation>The time is empty</translation>
    </message>
    <message>
        <source>時間は数と単位で書いてください（例: 10ns）</source>
        <translation>Write a time as a number and a unit (like 10ns)</translation>
    </message>
    <message>
        <source>時間に単位がありません（s, ms, us, ns, ps, fs のどれか。例: 10ns）</source>
        <translation>The time has no unit (s, ms, us, ns, ps or fs; like 10ns)</translation>
    </message>
    <message>
        <source>時間の単位は s, ms, us, ns, ps, fs のどれかです</source>
        <translation>A time&apos;s unit is one of s, ms, us, ns, ps and fs</translation>
    </message>
    <message>
        <source>1fs より細かい時間は扱えません</source>
        <translation>Times finer than 1fs cannot be held</translation>
    </message>
    <message>
        <source>時間が大きすぎます</source>
        <translation>The time is too large</translation>
    </message>
    <message>
        <source>読み込めません: %1</source>
        <translation>Cannot read: %1</translation>
    </message>
    <message>
        <source>NUL バイトがあります（VCD はテキストです）</source>
        <translation>A NUL byte (a VCD is text)</translation>
    </message>
    <message>
        <source>語が長すぎます（%1 バイトまで）</source>
        <translation>A word is too long (%1 bytes at most)</translation>
    </message>
    <message>
        <source>$enddefinitions がありません（定義の途中で終わっています）</source>
        <translation>No $enddefinitions (the file ends inside the definitions)</translation>
    </message>
    <message>
        <source>宣言（$scope、$var、$enddefinitions など）が必要です（「%1」があります）</source>
        <translation>A declaration ($scope, $var, $enddefinitions, ...) expected, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>$timescale がないため、時間の単位を 1ns としました</source>
        <translation>No $timescale: the time unit is taken as 1ns</translation>
    </message>
    <message>
        <source>$upscope に対応する $scope がありません</source>
        <translation>$upscope without its $scope</translation>
    </message>
    <message>
        <source>$end の前に宣言がありません</source>
        <translation>$end without a declaration before it</translation>
    </message>
    <message>
        <source>%1 の前に $enddefinitions が必要です</source>
        <translation>$enddefinitions must come before %1</translation>
    </message>
    <message>
        <source>宣言 %1 は読み飛ばしました</source>
        <translation>The declaration %1 was passed over</translation>
    </message>
    <message>
        <source>%1が必要です（ファイルが終わっています）</source>
        <translation>%1 expected, but the file ends</translation>
    </message>
    <message>
        <source>%1が必要です（$end があります）</source>
        <translation>%1 expected, not $end</translation>
    </message>
    <message>
        <source>%1 を閉じる $end が必要です（ファイルが終わっています）</source>
        <translation>$end closing %1 expected, but the file ends</translation>
    </message>
    <message>
        <source>%1 を閉じる $end が必要です（「%2」があります）</source>
        <translation>$end closing %1 expected, not &apos;%2&apos;</translation>
    </message>
    <message>
        <source>%1 を閉じる $end がありません</source>
        <translation>No $end closes %1</translation>
    </message>
    <message>
        <source>%1 を閉じる $end がありません（ファイルが終わっています）</source>
        <translation>No $end closes %1 (the file ends)</translation>
    </message>
    <message>
        <source>$timescale には 1、10、100 のどれかと単位（s ms us ns ps fs）が必要です（「%1」があります）</source>
        <translation>$timescale takes 1, 10 or 100 and a unit (s ms us ns ps fs), not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>スコープが多すぎます（%1 まで）</source>
        <translation>Too many scopes (%1 at most)</translation>
    </message>
    <message>
        <source>変数が多すぎます（%1 まで）</source>
        <translation>Too many variables (%1 at most)</translation>
    </message>
    <message>
        <source>$var の幅は 1～%1 の整数です（「%2」があります）</source>
        <translation>The width of a $var is a whole number from 1 to %1, not &apos;%2&apos;</translation>
    </message>
    <message>
        <source>$var の名前の後には添字 [..] か $end が必要です（「%1」があります）</source>
        <translation>An index [..] or $end expected after the name of a $var, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>$var の添字が長すぎます</source>
        <translation>The index of a $var is too long</translation>
    </message>
    <message>
        <source>識別コード「%1」は $var で宣言されていません</source>
        <translation>The identifier code &apos;%1&apos; was declared by no $var</translation>
    </message>
    <message>
        <source>値「%1」の後に識別コードが必要です</source>
        <translation>An identifier code expected after the value &apos;%1&apos;</translation>
    </message>
    <message>
        <source>ベクタ値「%1」の後に識別コードが必要です</source>
        <translation>An identifier code expected after the vector value &apos;%1&apos;</translation>
    </message>
    <message>
        <source># の後には時刻（0 以上の整数）が必要です（「%1」があります）</source>
        <translation>A time (a whole number from 0 on) expected after #, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>時刻「%1」が大きすぎます</source>
        <translation>The time &apos;%1&apos; is too large</translation>
    </message>
    <message>
        <source>時刻が戻っています（#%1 の後に「%2」があります）</source>
        <translation>Time goes back (&apos;%2&apos; after #%1)</translation>
    </message>
    <message>
        <source>b の後にはビット値（0 1 x z など）が必要です（「%1」があります）</source>
        <translation>Bit values (0 1 x z, ...) expected after b, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>値が %1 ビットあり、「%2」の幅 %3 を超えています</source>
        <translation>A value of %1 bits, wider than the %3 bits of &apos;%2&apos;</translation>
    </message>
    <message>
        <source>r の後には実数が必要です（「%1」があります）</source>
        <translation>A real number expected after r, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>$end に対応する $dumpvars などがありません</source>
        <translation>$end without its $dumpvars (or the like)</translation>
    </message>
    <message>
        <source>値の変化、#時刻、$dumpvars・$dumpall・$dumpon・$dumpoff・$comment のどれかが必要です（「%1」があります）</source>
        <translation>A value change, #time, $dumpvars, $dumpall, $dumpon, $dumpoff or $comment expected, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>$scope の種類</source>
        <translation>The type of a $scope</translation>
    </message>
    <message>
        <source>$scope の名前</source>
        <translation>The name of a $scope</translation>
    </message>
    <message>
        <source>$var の種類</source>
        <translation>The type of a $var</translation>
    </message>
    <message>
        <source>$var の幅</source>
        <translation>The width of a $var</translation>
    </message>
    <message>
        <source>$var の識別コード</source>
        <translation>The identifier code of a $var</translation>
    </message>
    <message>
        <source>$var の名前</source>
        <translation>The name of a $var</translation>
    </message>
    <message>
        <source>「%1」に当たる信号が複数あります（%2%3）。スコープを付けて指定してください</source>
        <translation>&apos;%1&apos; names several signals (%2%3): name it with its scope</translation>
    </message>
    <message>
        <source> ほか</source>
        <translation> and more</translation>
    </message>
    <message>
        <source>「%1」はベクタではないため、ビットに分けられません</source>
        <translation>&apos;%1&apos; is not a vector, so it has no bits to split</translation>
    </message>
    <message>
        <source>「%1」にビット [%2] はありません（[%3:%4]）</source>
        <translation>&apos;%1&apos; has no bit [%2] ([%3:%4])</translation>
    </message>
    <message>
        <source>信号「%1」はダンプにありません</source>
        <translation>The dump has no signal &apos;%1&apos;</translation>
    </message>
    <message>
        <source>ダンプに 1 ビットの信号がありません。取り込む信号を選んでください</source>
        <translation>The dump has no one-bit signal: choose the signals to read</translation>
    </message>
    <message>
        <source>1 ビットの信号 %1 本のうち、先頭の %2 本を取り込みました</source>
        <translation>Of %1 one-bit signals, the first %2 were read</translation>
    </message>
    <message>
        <source>選んだ信号は %1 行以上になります。取り込めるのは %2 行までです</source>
        <translation>The chosen signals make %1 rows or more; at most %2 can be read</translation>
    </message>
    <message>
        <source>クロック「%1」は 1 ビットの信号ではありません</source>
        <translation>The clock &apos;%1&apos; is not a one-bit signal</translation>
    </message>
    <message>
        <source>信号名「%1」は CP932（Shift_JIS）で表せません</source>
        <translation>CP932 (Shift_JIS) cannot hold the signal name &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1 %2 がダンプの時間の単位 %3 の整数倍ではありません</source>
        <translation>%1 %2 is not a whole multiple of the dump&apos;s time unit %3</translation>
    </message>
    <message>
        <source>開始時刻</source>
        <translation>The start</translation>
    </message>
    <message>
        <source>1 ステップの時間</source>
        <translation>The time of a step</translation>
    </message>
    <message>
        <source>1 ステップの時間が 0 です</source>
        <translation>The time of a step is 0</translation>
    </message>
    <message>
        <source>開始時刻 %1 からダンプの終わりまでに、クロックのエッジがありません</source>
        <translation>The clock has no edge from the start %1 to the end of the dump</translation>
    </message>
    <message>
        <source>開始時刻 %1 はダンプの最後の時刻 %2 より後です</source>
        <translation>The start %1 is after the dump&apos;s last time %2</translation>
    </message>
    <message>
        <source>%1が時刻 %2 で終わるため、%3 ステップで打ち切りました</source>
        <translation>%1 end at %2, so the chart stops after %3 steps</translation>
    </message>
    <message>
        <source>クロックのエッジ</source>
        <translation>The clock&apos;s edges</translation>
    </message>
    <message>
        <source>ダンプ</source>
        <translation>The dump&apos;s instants</translation>
    </message>
    <message>
        <source>ステップ数は 1～%1 です</source>
        <translation>The number of steps is 1 to %1</translation>
    </message>
    <message>
        <source>時間が負です</source>
        <translation>The time is negative</translation>
    </message>
    <message>
        <source>%1 は値をとりません</source>
        <translation>%1 takes no value</translation>
    </message>
    <message>
        <source>%1 には数が必要です</source>
        <translation>%1 needs a number</translation>
    </message>
    <message>
        <source>%1 には %2 から %3 までの整数を指定してください（「%4」が指定されました）</source>
        <translation>%1 takes a whole number from %2 to %3, not &apos;%4&apos;</translation>
    </message>
    <message>
        <source>%1 にはフォント名が必要です</source>
        <translation>%1 needs a font family</translation>
    </message>
    <message>
        <source>%1 には形式の名前が必要です</source>
        <translation>%1 needs a format</translation>
    </message>
    <message>
        <source>%1 には値が必要です</source>
        <translation>%1 needs a value</translation>
    </message>
    <message>
        <source>%1 というオプションはありません</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>CHART と OUTPUT は空にできません</source>
        <translation>CHART and OUTPUT must not be empty</translation>
    </message>
    <message>
        <source>「%1」という形式はありません</source>
        <translation>unknown format &apos;%1&apos;</translation>
    </message>
    <message>
        <source>OUTPUT が「-」のときは --format が必要です</source>
        <translation>--format is needed when OUTPUT is &apos;-&apos;</translation>
    </message>
    <message>
        <source>「%1」からは形式が分かりません。--format で指定してください</source>
        <translation>cannot tell the format from &apos;%1&apos;: use --format</translation>
    </message>
    <message>
        <source>--vcd-signals の「%1」に空の名前があります</source>
        <translation>--vcd-signals has an empty name in &apos;%1&apos;</translation>
    </message>
    <message>
        <source>%1 には信号名が必要です</source>
        <translation>%1 needs a signal name</translation>
    </message>
    <message>
        <source>%1 の「%2」: %3</source>
        <translation>%1 &apos;%2&apos;: %3</translation>
    </message>
    <message>
        <source>%1 には 0 より長い時間を指定してください</source>
        <translation>%1 must be longer than 0</translation>
    </message>
    <message>
        <source>--vcd-clock と --vcd-step は同時に指定できません</source>
        <translation>--vcd-clock and --vcd-step cannot be given together</translation>
    </message>
    <message>
        <source>%1 にはフォルダが必要です</source>
        <translation>%1 needs a folder</translation>
    </message>
    <message>
        <source>--out-dir には CHART が一つ以上必要です</source>
        <translation>--out-dir needs at least one CHART</translation>
    </message>
    <message>
        <source>CHART の「-」（標準入力の一覧）は一度しか指定できません</source>
        <translation>the CHART &apos;-&apos; (the list on standard input) can be given only once</translation>
    </message>
    <message>
        <source>--out-dir には --format が必要です</source>
        <translation>--out-dir needs --format</translation>
    </message>
    <message>
        <source>%1 と %2 はどちらも %3 になります</source>
        <translation>%1 and %2 would both be written to %3</translation>
    </message>
    <message>
        <source>%1 は CHART の %2 そのものです</source>
        <translation>%1 is the CHART %2 itself</translation>
    </message>
</context>
<context>
    <name>solvena-render</name>
    <message>
        <source>標準出力</source>
        <translation>standard output</translation>
    </message>
    <message>
        <source>警告: %1（ファイルにあるステップはすべて使います）</source>
        <translation>warning: %1 (every step in the file is used)</translation>
    </message>
    <message>
        <source>詳しくは &apos;solvena-render --help&apos; を見てください。</source>
        <translation>Try &apos;solvena-render --help&apos; for more information.</translation>
    </message>
    <message>
        <source>標準入力</source>
        <translation>standard input</translation>
    </message>
    <message numerus="yes">
        <source>%n 個の CHART を書き出せませんでした</source>
        <translation>
            <numerusform>%n CHART was not written</numerusform>
            <numerusform>%n CHARTs were not written</numerusform>
        </translation>
    </message>
    <message>
        <source>使い方: solvena-render [オプション]... CHART OUTPUT
  または: solvena-render [オプション]... --out-dir DIR --format FMT CHART...
CHART（チャートファイル .sbn・.txt、WaveJSON .json、または VCD .vcd）を
OUTPUT に書き出します。ディスプレイは要りません。OUTPUT の拡張子で形式が決まります:
  .bmp        ビットマップ（エディタのビットマップ出力と同じもの）
  .emf        エンハンスド メタファイル（エディタのメタファイル出力と同じもの）
  .png        ビットマップの絵
  .svg, .pdf  メタファイルの絵（線と文字のまま）
  .json       チャートを WaveJSON で
  .sbn, .txt  チャートファイルを書き直したもの
OUTPUT が「-」なら標準出力に書きます。形式は --format で指定します
（/dev/stdout など拡張子のない OUTPUT も同じです）。
OUTPUT は与えられた名前のとおりに、一時ファイルを通して書き、書き終えてから
置き換えます。リンクはその先のファイルに書きます。FIFO とキャラクタデバイス
（パイプ、/dev/null、端末）にはそのまま書き込み、このコマンドの標準出力を指す
名前（/dev/stdout、/dev/fd/1）には「-」と同じように書きます。これらへの
書き込みは、途中で失敗すると書きかけが残ります。フォルダ、ソケット、
ブロックデバイスには書きません。

オプション（描画のオプションは .json、.sbn、.txt には効きません）:
  --header          見出しの行も、エディタの表と同じように描く
  --row-height N    信号の行の高さを N ピクセルにする（1～1000、既定 25）
  --align-right     信号名を名前の列の右に寄せる
  --font FAMILY     信号名とラベルをフォント FAMILY で描く
  --font-px N       そのフォントの高さを N ピクセルにする（1～1000、既定 13）
  --format FMT      OUTPUT の拡張子によらず FMT（bmp、emf、png、svg、pdf、
                    json、sbn、txt のどれか）で書く
  --out-dir DIR     CHART をいくつでも受け取り、それぞれを DIR/&lt;名前&gt;.&lt;FMT&gt;
                    に書く（&lt;名前&gt; は CHART のファイル名から拡張子を除いたもの、
                    --format が必要）。CHART が「-」なら、そのパスを標準入力
                    から 1 行に一つずつ読む
  -h, --help        この説明を表示して終わる
  -v, --version     版を表示して終わる

VCD（.vcd）の CHART のオプション:
  --vcd-signals A,B 行にする信号（既定: 1 ビットの信号のうち先頭の 99 個）。
                    「tb.dut.x」のような階層名、またはそれと決まる末尾「x」。
                    「bus[*]」はベクタをビットごとの行に、「bus[2]」はその 1 ビット
  --vcd-clock NAME  1 ビットの信号 NAME の変化ごとに 1 ステップ進める
  --vcd-step TIME   1 ステップを TIME にする（既定: 開始から最初の二つの
                    時刻の間）
  --vcd-start TIME  最初のステップの時刻（既定 0）
  --vcd-steps N     ステップ数（1～99、既定 99）
  TIME は単位つきの数: 10ns、2.5us（s ms us ns ps fs）。各セルは、
  そのステップの始めの時刻での値（その時刻の変化をすべて済ませた後）:
  0 は Low、1 は High、x・z などは不定。分けないベクタは全ビット 0 で Low、
  全ビット 1 で High、ほかは不定です。

--out-dir では、読めない CHART や書けない出力があっても残りを書き出し、
その理由を CHART または出力の名前とともに出します。二つの CHART の出力が
同じ名前になるとき、出力が CHART そのものになるとき、DIR がないか書き込め
ないときは、何も書かずに終わります（ステータス 2）。標準エラー出力が
端末なら、進み具合を 1 行で表示します。

メッセージは、LC_ALL、それが空なら LC_MESSAGES、それも空なら LANG が日本語の
ロケール（ja_JP.UTF-8 など）を指すときは日本語、ほかは英語で出します。

終了ステータス: OUTPUT を（--out-dir ではすべての出力を）書けたら 0。
CHART を読めないか、OUTPUT を書けなかったら 1（理由は標準エラー出力に出し、
書きかけのファイルは残しません）。
コマンドラインの誤りは 2。シグナル（Ctrl+C、timeout）で終わるときは、
一時ファイルを残さず、そのシグナルで終わります。
</source>
        <translation>Usage: solvena-render [OPTION]... CHART OUTPUT
  or:   solvena-render [OPTION]... --out-dir DIR --format FMT CHART...
Writes CHART, a chart file (.sbn or .txt), WaveJSON (.json) or a value change dump
(.vcd), to OUTPUT. Needs no display. The extension of OUTPUT picks the format:
  .bmp        bitmap, as the editor&apos;s bitmap export makes it
  .emf        enhanced metafile, as the editor&apos;s metafile export makes it
  .png        the bitmap&apos;s picture
  .svg, .pdf  the metafile&apos;s picture with real lines and text
  .json       the chart as WaveJSON
  .sbn, .txt  the chart file written again
OUTPUT &apos;-&apos; writes to standard output; --format then names the format, as it does
for any OUTPUT without an extension (/dev/stdout, ...).
OUTPUT is written under exactly the name given, through a temporary file that
replaces it only once complete; a link is followed to the file it leads to.
A FIFO or a character device (a pipe, /dev/null, a terminal) is written into as
it is, and a name of this command&apos;s standard output (/dev/stdout, /dev/fd/1) is
written as &apos;-&apos; is; such writes cannot be all or nothing. A folder, a socket or a
block device is refused.

Options (the drawing options do nothing for .json, .sbn and .txt):
  --header          draw the header row too, as the editor&apos;s grid shows it
  --row-height N    make every signal row N pixels high (1-1000, default 25)
  --align-right     align the signal names to the right of the name column
  --font FAMILY     draw the signal names and labels in FAMILY
  --font-px N       make that font N pixels high (1-1000, default 13)
  --format FMT      write FMT (bmp, emf, png, svg, pdf, json, sbn or txt)
                    whatever the extension of OUTPUT
  --out-dir DIR     take any number of CHARTs and write each to DIR/NAME.FMT,
                    NAME being the CHART&apos;s file name without its extension
                    (needs --format); a CHART &apos;-&apos; reads their paths from
                    standard input, one a line
  -h, --help        show this help and exit
  -v, --version     show the version and exit

Options for a value change dump (.vcd) as CHART:
  --vcd-signals A,B the signals, one row each (default: the first 99 one-bit
                    signals); a path &apos;tb.dut.x&apos; or its unique end &apos;x&apos;;
                    &apos;bus[*]&apos; one row per bit of a vector, &apos;bus[2]&apos; one bit
  --vcd-clock NAME  start a step at every edge of the one-bit signal NAME
  --vcd-step TIME   make every step TIME long instead (default: the time
                    between the first two instants from the start on)
  --vcd-start TIME  when the first step is (default 0)
  --vcd-steps N     how many steps (1-99, default 99)
  TIME is a number with a unit: 10ns, 2.5us (s ms us ns ps fs). Each cell takes
  the signal&apos;s value at its step&apos;s start, after every change at that instant:
  0 low, 1 high, x, z and others undefined; a vector not split is low when all
  its bits are 0, high when all are 1, undefined otherwise.

With --out-dir, a CHART that cannot be read or an output that cannot be written
is reported with its name and the others are still written. Nothing is written
when two CHARTs would give the same output name, when an output would be a
CHART itself, or when DIR is missing or not writable (status 2). While standard
error is a terminal, one line on it shows the progress.

Messages are in Japanese when LC_ALL, or else LC_MESSAGES, or else LANG names a
Japanese locale (ja_JP.UTF-8, ...), and in English otherwise.

Exit status: 0 when OUTPUT (with --out-dir, every output) was written; 1 when
CHART could not be read or OUTPUT could not be written (the reason on standard error, no partial file left); 2 for a
wrong command line. Ended by a signal (Ctrl+C, timeout), it leaves no temporary
file and ends as that signal ends a program.
</translation>
    </message>
</context>
</TS>
