#include "tools/tovtool/messages.h"

#include <cerrno>
#include <cstring>

namespace {

struct Entry {
    Msg id;
    const char* key;
    const char* ja;
    const char* en;
};

// In the order of Msg, which the lookup checks.
constexpr Entry kEntries[] = {
    {Msg::None, "none", "", ""},
    {Msg::CannotRead, "cannot-read", "ファイルを読めません: {}", "cannot read the file: {}"},
    {Msg::UnknownKind, "unknown-kind",
     "どの形式のファイルか分かりません。--from で csv、tsv、xlsx、moodle、gift、aiken "
     "のどれかを指定してください",
     "cannot tell what kind of file this is: give --from csv, tsv, xlsx, moodle, gift or aiken"},
    {Msg::NoQuestionColumn, "no-question-column",
     "1 行目に「問題文」の列がありません。見出しの行に 問題文、選択肢1…選択肢5、正解 "
     "などの列名を書いてください",
     "the first row names no 問題文 (question) column: head the columns with 問題文, "
     "選択肢1…選択肢5, 正解 and so on"},
    {Msg::NoAnswerColumn, "no-answer-column",
     "1 行目に「正解」の列がありません。正解の選択肢の番号を書く列を加えてください",
     "the first row names no 正解 (answer) column: add one holding the correct choice numbers"},
    {Msg::NotAWorkbook, "not-a-workbook", "Excel のブック (.xlsx) として読めません: {}",
     "not readable as an Excel workbook (.xlsx): {}"},
    {Msg::ZipTooLarge, "zip-too-large",
     "ブックの中の {} が展開すると大きすぎます (64 MiB または元の 200 "
     "倍を超えます)。読み込みをやめました",
     "{} in the workbook inflates past 64 MiB or 200 times its size: not read"},
    {Msg::NoSuchSheet, "no-such-sheet", "シート「{}」がありません", "there is no sheet {}"},
    {Msg::NotAZip, "not-a-zip",
     "Excel のブック (.xlsx) の形をしていません (途中で切れたファイル、古い "
     ".xls、パスワード付きのブックなど)。Excel で .xlsx として保存し直してください",
     "not shaped as an Excel workbook (.xlsx): a file cut short, an older .xls or a "
     "password-protected "
     "workbook; save it from Excel as .xlsx"},
    {Msg::SheetTooLarge, "sheet-too-large",
     "シート「{}"
     "」は使われているセルの範囲が広すぎるので読みません。問題から遠く離れたセルを消してください",
     "sheet {} spans too many cells to read: delete cells far away from the questions"},
    {Msg::NotXml, "not-xml", "XML として読めません: {}", "not readable as XML: {}"},
    {Msg::XmlDeclarations, "xml-declarations", "DTD や実体の宣言を含む XML は読み込みません",
     "XML with a DTD or entity declarations is not read"},
    {Msg::XmlTooDeep, "xml-too-deep", "要素の入れ子が {} 段より深い XML は読み込みません",
     "XML with elements nested more than {} deep is not read"},
    {Msg::NoQuestions, "no-questions", "取り込める問題がありません",
     "no question could be imported"},
    {Msg::CannotWrite, "cannot-write", "ファイルを書けません: {}", "cannot write the file: {}"},
    {Msg::SettingsUnreadable, "settings-unreadable", "--settings の問題集を読めません: {}",
     "cannot read the set given with --settings: {}"},
    {Msg::UnknownColumn, "unknown-column", "列「{}」({} 列) は tov にない項目なので読みません",
     "column {} ({}) is not one tov has: not read"},
    {Msg::GiftNoBlankLine, "gift-no-blank-line",
     "この行の前に空行がありませんが、ここから新しい問題 (またはカテゴリー) として読みました",
     "no blank line before this line: read as the start of a new question (or category)"},
    {Msg::GiftNoSpace, "gift-no-space",
     "答えの間に空白がありません (=a~b など): 別々の答えとして読みました",
     "answers with no space between them (=a~b): read as separate answers"},
    {Msg::GiftTildeEquals, "gift-tilde-equals", "「~=」を「=」(正解) として読みました",
     "\"~=\" read as \"=\" (a correct answer)"},
    {Msg::GiftTextBeforeAnswers, "gift-text-before-answers",
     "「{」の後、最初の ~ や = より前の文字を不正解の答えとして読みました",
     "text before the first ~ or = read as a wrong answer"},
    {Msg::GiftEmptyAnswer, "gift-empty-answer", "空の答えを除きました", "an empty answer left out"},
    {Msg::GiftLowerCase, "gift-lower-case", "小文字の {true} などを {TRUE} などとして読みました",
     "{true} and the like in lower case read as {TRUE}"},
    {Msg::SkipFewChoices, "skip-few-choices", "選択肢が 2 つ未満なので取り込みません",
     "fewer than 2 choices: skipped"},
    {Msg::SkipManyChoices, "skip-many-choices",
     "選択肢が {} あり、tov の 5 つを超えるので取り込みません",
     "{} choices, more than tov's 5: skipped"},
    {Msg::SkipGap, "skip-gap", "選択肢{}が空で、その後に選択肢があるので取り込みません",
     "choice {} is empty between filled choices: skipped"},
    {Msg::SkipNoCorrect, "skip-no-correct", "正解の選択肢がないので取り込みません",
     "no choice is marked correct: skipped"},
    {Msg::SkipMarkOnMissing, "skip-mark-on-missing", "正解の選択肢{}がないので取り込みません",
     "choice {} is marked correct but is not there: skipped"},
    {Msg::SkipAnswerUnreadable, "skip-answer-unreadable",
     "正解「{}」を選択肢の番号 (1～5 または A～E) として読めないので取り込みません",
     "answer \"{}\" names no choice (1 to 5 or A to E): skipped"},
    {Msg::SkipPointsTooLow, "skip-points-too-low", "配点が {} で 1 未満なので取り込みません",
     "points {} are less than 1: skipped"},
    {Msg::SkipPointsUnreadable, "skip-points-unreadable",
     "配点「{}」が数ではないので取り込みません", "points \"{}\" are not a number: skipped"},
    {Msg::SkipFormatDisagrees, "skip-format-disagrees",
     "出題形式「{}」が選択肢の数や正解と合わないので取り込みません",
     "出題形式 (format) \"{}\" does not agree with the choices and the answer: skipped"},
    {Msg::SkipFormatUnknown, "skip-format-unknown",
     "出題形式「{}」は 複数選択、2択問題、3択問題、4択問題 のどれでもないので取り込みません",
     "出題形式 (format) \"{}\" is none of 複数選択, 2択問題, 3択問題, 4択問題: skipped"},
    {Msg::SkipSixthGenre, "skip-sixth-genre",
     "6 つ目のジャンル「{}」の問題です。tov のジャンルは 5 つまでなので取り込みません",
     "in a sixth genre, \"{}\": tov has five: skipped"},
    {Msg::SkipPastLast, "skip-past-last", "256 問を超えたので取り込みません",
     "past the 256th question: skipped"},
    {Msg::SkipType, "skip-type", "{} の問題「{}」は tov の形式にないので取り込みません",
     "a {} question (\"{}\"), which tov has no form for: skipped"},
    {Msg::SkipSeveralBlanks, "skip-several-blanks",
     "解答欄が複数ある問題 (穴埋め) は tov の形式にないので取り込みません",
     "several answer blocks (cloze), which tov has no form for: skipped"},
    {Msg::SkipBraces, "skip-braces", "答えを囲む「{」と「}」が対になっていないので取り込みません",
     "the answers' { and } do not pair up: skipped"},
    {Msg::PartialCreditDropped, "partial-credit-dropped",
     "選択肢{}の部分点はなくなり、不正解の選択肢になりました",
     "partial credit for choice {} dropped: it is now a wrong choice"},
    {Msg::BecomesMultiple, "becomes-multiple",
     "選択肢が 5 つあるので、正解が 1 つでも「複数選択」の問題になりました",
     "five choices: becomes a multiple-selection question (複数選択), though one is correct"},
    {Msg::FillChoice, "fill-choice",
     "正解が複数あるので「複数選択」の問題になりました。tov の複数選択は選択肢が 5 つです: "
     "選択肢{}を書き加えてください",
     "a multiple-selection question has five choices in tov: fill choice {}"},
    {Msg::NoExplanation, "no-explanation",
     "解説文がありません。出力前の確認で、この問題を削除するか聞かれます: "
     "解説文を書き加えてください",
     "no explanation: tov's check before output will offer to delete this question, so add one"},
    {Msg::NoText, "no-text", "問題文がありません: 書き加えてください",
     "no question text: add it before output"},
    {Msg::Accents, "accents",
     "{}のアクセント付きの文字などを、近い文字に置き換えました (é → e など)",
     "letters with accents and the like in {} replaced by the nearest letters (é → e)"},
    {Msg::NotInCodePage, "not-in-code-page",
     "{}の「{}」は Windows の日本語の文字にないので「〓」に置き換えました",
     "{} holds \"{}\", which the Japanese Windows character set lacks: replaced by 〓"},
    {Msg::Cut, "cut", "{}が長すぎるので {} バイトまでで切りました",
     "{} is too long: cut to {} bytes"},
    {Msg::ImageDropped, "image-dropped", "{}の画像は取り込めないので除きました",
     "image in {} dropped: tov holds text only"},
    {Msg::FeedbackDropped, "feedback-dropped",
     "選択肢ごとのフィードバックは tov にないので除きました",
     "feedback per answer dropped: tov has one explanation per question"},
    {Msg::PointsRounded, "points-rounded", "配点 {} を {} に丸めました", "points {} rounded to {}"},
    {Msg::FieldTitle, "field-title", "タイトル", "the title"},
    {Msg::FieldGenre, "field-genre", "ジャンル名", "the genre name"},
    {Msg::FieldText, "field-text", "問題文", "the question text"},
    {Msg::FieldChoice, "field-choice", "選択肢{}", "choice {}"},
    {Msg::FieldExplanation, "field-explanation", "解説文", "the explanation"},
    {Msg::PlaceLine, "place-line", "{} 行目", "line {}"},
    {Msg::QuestionSubject, "question-subject", "問題 {}「{}」", "question {} \"{}\""},
    {Msg::ExcerptSubject, "excerpt-subject", "「{}」", "\"{}\""},
    {Msg::Imported, "imported", "{} 問を {} に取り込みました ({} 問は取り込めませんでした)",
     "{} questions imported into {} ({} skipped)"},
    {Msg::Exported, "exported", "{} 問を {} に書き出しました", "{} questions written to {}"},
    {Msg::LineStoppedNotNumber, "stopped-early",
     "{}に数ではない {} があるので、行の読み込みはそこで止まり、そこから後の項目は読まれません",
     "{} holds {}, which is no number: reading of the line stops there and the fields from it on "
     "are not read"},
    {Msg::LineStoppedMoreThanNumber, "stopped-early",
     "{}に数のほかにも {} があるので、先頭の数だけを読み、後の項目は読まれません",
     "{} holds {}, more than a number: reading of the line stops after its leading number and the "
     "fields after it are not read"},
    {Msg::LineStoppedHint, "stopped-early-hint",
     "（その前の文章に半角のコンマが入力され、文章が分かれたことがよくある原因です）",
     " (most often a comma typed inside a text before it, which split the text)"},
    {Msg::LineCut, "cut", "{}は {} バイトあり、tov が持てる {} バイトまでで切られます",
     "{} holds {} bytes and is cut to the {} that tov keeps"},
    {Msg::LineShort, "short-line", "{}の前で行が終わっています。そこから後の項目は読まれません",
     "the line ends before {}: it and the fields after it are not read"},
    {Msg::LineUnreadable, "unreadable-line",
     "行が {} で始まっていて{}として読めないので、この行は何も読まれません",
     "the line begins with {} where {} is due, so nothing of it is read"},
    {Msg::LineExtraFields, "extra-fields",
     "この行には {} "
     "個より多くの項目があり、残りは読まれません（文章の中の半角のコンマで分かれています）",
     "the line holds more than its {} fields and the rest is not read (a comma typed inside a text "
     "splits it)"},
    {Msg::TooManyLines, "too-many-lines",
     "問題の行が {} を超えています: {} 行目から {} 行目は読まれません",
     "more than {} question lines: lines {} to {} are not read"},
    {Msg::QuestionLabel, "question-label", "問題 {} (ID {})", "question {} (id {})"},
    {Msg::MissingField, "badly-entered",
     "{}の{}がありません。出力前の確認で、この問題を削除するか聞かれます",
     "{} has no {}: the check before output offers to delete it"},
    {Msg::MissingPoints, "badly-entered",
     "{}の配点が 0 です。出力前の確認で、この問題を削除するか聞かれます",
     "{} has points 0: the check before output offers to delete it"},
    {Msg::AnswerOutOfRange, "out-of-range",
     "{}: 正解が {} ですが、出題形式 {} の問題の選択肢は 1 から {} です",
     "{}: answer is {}; a format {} question has choices 1 to {}"},
    {Msg::AnswerNotCode, "out-of-range",
     "{}: 正解 {} は、正解の選択肢の組み合わせを表す数（選択肢 1～5 が 10000、2000、300、40、5 "
     "の和）ではありません",
     "{}: answer is {}, no digit-position code of correct choices (10000, 2000, 300, 40 and 5 for "
     "choices 1 to 5 added up)"},
    {Msg::AnswerMarksEmpty, "out-of-range",
     "{}: 正解 {} は選択肢{}を正解にしていますが、その選択肢は空です",
     "{}: answer {} marks choice {} correct, which has no text"},
    {Msg::FormatOutOfRange, "out-of-range",
     "{}: 出題形式が {} です。1（複数選択）から 4（4択問題）までです",
     "{}: format is {}; 1 (multiple selection) to 4 (four choices) exist"},
    {Msg::GenreOutOfRange, "out-of-range",
     "{}: ジャンルが {} ですが、この問題集のジャンルは 1 から {} です",
     "{}: genre is {}; the set has genres 1 to {}"},
    {Msg::GenreLabel, "genre-label", "ジャンル{}「{}」", "genre {} \"{}\""},
    {Msg::QuotaMissing, "quota-missing", "{}の出題数がありません（メッセージ 47）",
     "{} has no quota (message 47)"},
    {Msg::ShortOfQuestions, "short-of-questions",
     "{}の問題は {} 問で、出題数 {} より少なくなっています（メッセージ 49）",
     "{} has {} questions, fewer than its quota {} (message 49)"},
    {Msg::SetEndsEarly, "set-ends-early",
     "問題 ID が 0 の行（または ID のない行）で問題集が終わっています: この行と後の {} "
     "行は、確認にも出力にも含まれません",
     "questionId 0 (or a line that gives none) ends the set here: this line and the {} question "
     "lines after it are left out of checks and output"},
    {Msg::ShortHeader, "short-header",
     "ファイルが設定の行の {} 行目で終わっています（設定の行は {} 行です）",
     "the file ends after {} of the {} header lines"},
    {Msg::GenreCountOutOfRange, "out-of-range", "ジャンル数が {} です。1 から 5 までです",
     "genreCount is {}; a set has 1 to 5 genres"},
    {Msg::CannotOpen, "cannot-open", "ファイルを開けません: {}", "cannot open the file: {}"},
    {Msg::CheckProgress, "progress", "{} / {} ファイルを確認しました", "checked {} of {} files"},
    {Msg::CheckSummary, "summary",
     "{} ファイルを確認しました: 問題なし {}、問題あり {}（問題 {} 件）、読めないもの {}",
     "{} files checked: {} fine, {} with problems ({} problems), {} unreadable"},
    {Msg::CheckSummaryOne, "summary",
     "{} ファイルを確認しました: 問題なし {}、問題あり {}（問題 {} 件）、読めないもの {}",
     "{} file checked: {} fine, {} with problems ({} problems), {} unreadable"},
    {Msg::DiffChanged, "changed", "{}: 「{}」 → 「{}」", "{}: \"{}\" → \"{}\""},
    {Msg::DiffAdded, "added", "問題 {} が加わりました: 「{}」", "question {} added: \"{}\""},
    {Msg::DiffRemoved, "removed", "問題 {} がなくなりました: 「{}」",
     "question {} removed: \"{}\""},
    {Msg::DiffQuestionField, "question-field", "問題 {} の{}", "question {}, {}"},
    {Msg::DiffSame, "same", "{} と {} は同じ問題集です", "{} and {} hold the same set"},
    {Msg::DiffSummary, "differ", "{} と {} の違い: {} 件", "{} and {} differ: {} differences"},
    {Msg::MergeDuplicate, "duplicate", "問題 {} と問題文・選択肢が同じなので取り込みません",
     "the same text and choices as question {}: skipped"},
    {Msg::MergeTooManyGenres, "too-many-genres", "ジャンルが 5 つを超えます。多すぎるジャンル: {}",
     "more than five genres; the ones past five: {}"},
    {Msg::Merged, "merged", "{} 問を {} にまとめました ({} 問は取り込みませんでした)",
     "{} questions merged into {} ({} skipped)"},
    {Msg::PressEnter, "press-enter", "Enter キーを押すと閉じます", "Press Enter to close"},
    {Msg::DroppedNothing, "dropped-nothing",
     "tov で開けるファイルや取り込めるファイルではありません", "not a file tov can open or import"},
    {Msg::HelpApp, "help",
     "tov の問題集（.csv 暗号化しない形式、.eep "
     "暗号化した形式）を確認・変換・書き出し・取り込みします。ファイルだけを渡すと（tovtool.exe "
     "へのドラッグ＆ドロップや「送る」など）、問題集は確認し、ほかの形式は取り込んで横に問題集を作"
     "ります。",
     "Checks, converts, exports and imports tov question sets (.csv plain, .eep scrambled). Given "
     "only files (dropped on tovtool.exe, or sent to it), it checks each set and imports any other "
     "file into a new set beside it."},
    {Msg::HelpFooter, "help",
     "終了コード: 0 問題なし、1 問題あり、2 使い方の誤りまたは読み書きできないファイル。",
     "Exit codes: 0 fine, 1 problems found, 2 usage error or a file that cannot be read or "
     "written."},
    {Msg::HelpLang, "help", "表示の言語 (ja または en)", "The language of every text (ja or en)"},
    {Msg::HelpCheck, "help", "各ファイルを tov と同じように読み、問題を行番号付きで一覧にします",
     "Read each FILE as tov would and list every problem with its line number"},
    {Msg::HelpFiles, "help", "問題集のファイル", "Question-set files"},
    {Msg::HelpForm, "help",
     "拡張子にかかわらず、暗号化しない形式 (csv) または暗号化した形式 (eep) として読みます",
     "Read the input as plain (csv) or scrambled (eep), whatever its extension"},
    {Msg::HelpJson, "help", "JSON で報告します", "Report as JSON"},
    {Msg::HelpConvert, "help",
     "IN を OUT の拡張子の形式で書きます (.eep は暗号化、ほかは暗号化しない)",
     "Write IN in the form of OUT's extension (.eep scrambled, else plain)"},
    {Msg::HelpIn, "help", "読む問題集のファイル", "Question-set file to read"},
    {Msg::HelpOutReplace, "help", "書くファイル。すべて書き終えてから置き換えます",
     "File to write; replaced only once wholly written"},
    {Msg::HelpExport, "help",
     "IN を印刷用の問題 (html)、Moodle XML (moodle)、取り込み用の表 (csv) に書き出します",
     "Write IN as a printable test (html), as Moodle XML (moodle) or as a spreadsheet in the "
     "import template's columns (csv)"},
    {Msg::HelpTo, "help", "書き出す形式", "Target format"},
    {Msg::HelpOutUtf8, "help", "書くファイル (UTF-8)", "File to write, in UTF-8"},
    {Msg::HelpImport, "help",
     "表計算ソフト (csv、tsv、xlsx) や学習管理システム (Moodle XML、GIFT、Aiken) "
     "の問題を、一つの問題集 OUT に取り込みます",
     "Bring questions from spreadsheets (csv, tsv, xlsx) and learning platforms (Moodle XML, GIFT, "
     "Aiken) into one tov set OUT"},
    {Msg::HelpFrom, "help", "入力の形式。省くと拡張子で決めます",
     "The inputs' kind; by default each one's extension"},
    {Msg::HelpTitle, "help", "問題集タイトル。省くと最初の IN の名前です",
     "The set's title; by default the first IN's name"},
    {Msg::HelpSettings, "help", "タイトル・出題方法・ランク・ジャンルをこの問題集から引き継ぎます",
     "Take the title, mode, ranks and genres from this tov set"},
    {Msg::HelpSheet, "help", "ブックのシート (名前または番号)",
     "The workbook's sheet, by name or number"},
    {Msg::HelpInOut, "help",
     "取り込むファイル (順に)、最後に書く問題集 (.eep は暗号化、ほかは暗号化しない)",
     "Files to import, in order, then the set to write (.eep scrambled, else plain)"},
    {Msg::HelpDiff, "help", "二つの問題集を比べ、設定と問題の違いを一覧にします",
     "Compare two question sets: their settings field by field and their questions slot by slot"},
    {Msg::HelpDiffFiles, "help", "比べる二つの問題集", "The two sets to compare"},
    {Msg::HelpMerge, "help",
     "いくつかの問題集や取り込めるファイルの問題を、一つの問題集 OUT にまとめます",
     "Put the questions of several sets (or files import reads) into one set OUT"},
    {Msg::HelpMergeFiles, "help", "まとめるファイル (順に)、最後に書く問題集",
     "Files to merge, in order, then the set to write"},
    {Msg::HelpHelp, "help", "このヘルプを表示して終わります", "Print this help message and exit"},
    {Msg::ErrorNoSuchFile, "no-such-file", "ファイルやフォルダーがありません",
     "no such file or folder"},
    {Msg::ErrorDenied, "denied",
     "アクセスが許可されていません（読み取り専用か、ほかのプログラムが使っています）",
     "access denied (read-only, or in use by another program)"},
    {Msg::ErrorDiskFull, "disk-full", "ディスクがいっぱいです", "the disk is full"},
    {Msg::ErrorIsFolder, "is-folder", "ファイルではなくフォルダーです", "a folder, not a file"},
    {Msg::UsageError, "usage",
     "コマンドの書き方が正しくありません（{}）。tovtool --help で使い方を表示します",
     "{}\nRun with --help for more information."},
};

static_assert(sizeof kEntries / sizeof kEntries[0] == static_cast<int>(Msg::Count),
              "one entry per message");

const Entry& entry(Msg id) {
    return kEntries[static_cast<int>(id)];
}

} // namespace

Lang language = Lang::En;

const char* messageKey(Msg id) {
    return entry(id).key;
}

const char* messageText(Msg id, Lang lang) {
    return lang == Lang::Ja ? entry(id).ja : entry(id).en;
}

namespace {

struct FieldWords {
    const char* name; // as the readers name it, without its number
    const char* ja;
    const char* en;
};

constexpr FieldWords kFieldWords[] = {
    {"title", "問題集タイトル", "title"},
    {"presentationMode", "出題方法", "presentation mode"},
    {"presentedCount", "出題数の合計", "presented count"},
    {"rankCount", "ランク数", "rank count"},
    {"genreCount", "ジャンル数", "genre count"},
    {"genre name", "ジャンル", "genre name "},
    {"genre quota", "出題数（ジャンル", "quota of genre "},
    {"rank name", "ランク", "rank name "},
    {"threshold", "閾値", "threshold "},
    {"rank comment", "コメント（ランク", "comment of rank "},
    {"questionId", "問題ID", "question id"},
    {"format", "出題形式", "format"},
    {"genre", "ジャンル", "genre"},
    {"text", "問題文", "question text"},
    {"answer", "正解", "answer"},
    {"points", "配点", "points"},
    {"explanation", "解説文", "explanation"},
    {"choice", "選択肢", "choice "},
};

} // namespace

std::string fieldLabel(const std::string& name) {
    const std::size_t space = name.rfind(' ');
    const bool numbered = space != std::string::npos && space + 1 < name.size() &&
                          name[space + 1] >= '1' && name[space + 1] <= '9';
    const std::string base = numbered ? name.substr(0, space) : name;
    for (const FieldWords& w : kFieldWords) {
        if (base == w.name) {
            std::string label = language == Lang::Ja ? w.ja : w.en;
            if (numbered) {
                label += name.substr(space + 1);
                // The two whose Japanese words open a bracket close it.
                label += language == Lang::Ja && label.find("（") != std::string::npos ? "）" : "";
            }
            return label;
        }
    }
    return name;
}

std::string say(Msg id, const std::vector<std::string>& args) {
    const std::string text = messageText(id, language);
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "{}") == 0) {
            out += next < args.size() ? args[next] : std::string();
            ++next;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string systemError(int number) {
    switch (number) {
    case ENOENT:
        return say(Msg::ErrorNoSuchFile);
    case EACCES:
    case EPERM:
        return say(Msg::ErrorDenied);
    case ENOSPC:
        return say(Msg::ErrorDiskFull);
    case EISDIR:
        return say(Msg::ErrorIsFolder);
    default:
        return std::strerror(number);
    }
}
