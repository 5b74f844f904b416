// Every text tovtool's import and export show a user, in one table keyed by
// a stable id, in Japanese and in English.
#pragma once

#include <string>
#include <vector>

enum class Msg {
    None,
    // The input cannot be read at all.
    CannotRead,
    UnknownKind,
    NoQuestionColumn,
    NoAnswerColumn,
    NotAWorkbook,
    ZipTooLarge,
    NoSuchSheet,
    NotAZip,
    SheetTooLarge,
    NotXml,
    XmlDeclarations,
    XmlTooDeep,
    NoQuestions,
    // The output or the set given with --settings.
    CannotWrite,
    SettingsUnreadable,
    // Said of the input as a whole.
    UnknownColumn,
    GiftNoBlankLine,
    GiftNoSpace,
    GiftTildeEquals,
    GiftTextBeforeAnswers,
    GiftEmptyAnswer,
    GiftLowerCase,
    // A question skipped.
    SkipFewChoices,
    SkipManyChoices,
    SkipGap,
    SkipNoCorrect,
    SkipMarkOnMissing,
    SkipAnswerUnreadable,
    SkipPointsTooLow,
    SkipPointsUnreadable,
    SkipFormatDisagrees,
    SkipFormatUnknown,
    SkipSixthGenre,
    SkipPastLast,
    SkipType,
    SkipSeveralBlanks,
    SkipBraces,
    // A question brought in with something changed or left to the user.
    PartialCreditDropped,
    BecomesMultiple,
    FillChoice,
    NoExplanation,
    NoText,
    Accents,
    NotInCodePage,
    Cut,
    ImageDropped,
    FeedbackDropped,
    PointsRounded,
    // Fields, as the pages name them.
    FieldTitle,
    FieldGenre,
    FieldText,
    FieldChoice,
    FieldExplanation,
    // Parts of a report line.
    PlaceLine,
    QuestionSubject,
    ExcerptSubject,
    // Summaries.
    Imported,
    Exported,
    // check and convert.
    LineStoppedNotNumber,
    LineStoppedMoreThanNumber,
    LineStoppedHint,
    LineCut,
    LineShort,
    LineUnreadable,
    LineExtraFields,
    TooManyLines,
    QuestionLabel,
    MissingField,
    MissingPoints,
    AnswerOutOfRange,
    AnswerNotCode,
    AnswerMarksEmpty,
    FormatOutOfRange,
    GenreOutOfRange,
    GenreLabel,
    QuotaMissing,
    ShortOfQuestions,
    SetEndsEarly,
    ShortHeader,
    GenreCountOutOfRange,
    CannotOpen,
    CheckProgress,
    CheckSummary,
    CheckSummaryOne,
    // diff, merge, files given alone, --help.
    DiffChanged,
    DiffAdded,
    DiffRemoved,
    DiffQuestionField,
    DiffSame,
    DiffSummary,
    MergeDuplicate,
    MergeTooManyGenres,
    Merged,
    PressEnter,
    DroppedNothing,
    HelpApp,
    HelpFooter,
    HelpLang,
    HelpCheck,
    HelpFiles,
    HelpForm,
    HelpJson,
    HelpConvert,
    HelpIn,
    HelpOutReplace,
    HelpExport,
    HelpTo,
    HelpOutUtf8,
    HelpImport,
    HelpFrom,
    HelpTitle,
    HelpSettings,
    HelpSheet,
    HelpInOut,
    HelpDiff,
    HelpDiffFiles,
    HelpMerge,
    HelpMergeFiles,
    HelpHelp,
    ErrorNoSuchFile,
    ErrorDenied,
    ErrorDiskFull,
    ErrorIsFolder,
    UsageError,
    Count
};

enum class Lang { Ja, En };

// The language texts are given in; Japanese unless set otherwise.
extern Lang language;

// The stable, language-neutral key of `id`, for --json and scripts.
const char* messageKey(Msg id);

// The text of `id` in `language` with each {} filled from `args` in order.
std::string say(Msg id, const std::vector<std::string>& args = {});

// A field of the file, as the readers name it ("choice 3"), in the words
// of tov's pages in `language` (「選択肢3」).
std::string fieldLabel(const std::string& name);

// The language the user's environment asks for: Japanese where the user's
// language or code page is Japanese, else English. Platform code.
Lang userLanguage();

// What the system said of a failed file operation (an errno), in
// `language` where the catalogue has words for it.
std::string systemError(int number);

// The text as it stands in the table, for tests that walk it.
const char* messageText(Msg id, Lang lang);
