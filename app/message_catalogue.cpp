#include "app/message_catalogue.h"

#include <windows.h>

namespace {

enum MessageKind { SeriousWarning, Question, Blocking, Fallback };

struct KindLook {
    const wchar_t* caption;
    UINT style;
    MessageAnswer answer; // a question answers Proceed instead on Yes
};

// Indexed by MessageKind.
constexpr KindLook kindLooks[] = {
    {L"重大な警告", MB_OK, Acknowledged},
    {L"警告", MB_ICONQUESTION | MB_YESNO, Stop},
    {L"処理の続行不可", MB_OK, Stop},
    {L"警告", MB_OK, OtherError},
};

struct CatalogueEntry {
    MessageCode code;
    MessageKind kind;
    const wchar_t* text;
};

constexpr CatalogueEntry catalogue[] = {
    {1, SeriousWarning, L"ファイルが開けません"},
    {2, SeriousWarning, L"ウィンドウ描画失敗"},
    {3, SeriousWarning, L"問題数がゼロです"},
    {4, SeriousWarning, L"問題数が足りないジャンルがあります"},
    {5, Question, L"未入力項目があります。移動しますか？"},
    {6, Question, L"未入力の問題があります。問題集として出力しますか？"},
    {7, Question, L"タイトルが未入力です。移動しますか？"},
    {9, Question, L"「ランク1」の項目が未入力です。移動しますか？"},
    {10, Question, L"「ランク2」の項目が未入力です。移動しますか？"},
    {11, Question, L"「ランク3」の項目が未入力です。移動しますか？"},
    {12, Question, L"「ランク4」の項目が未入力です。移動しますか？"},
    {13, Question, L"「ランク5」の項目が未入力です。移動しますか？"},
    {14, Question, L"「ランク1」のコメントが未入力です。移動しますか？"},
    {15, Question, L"「ランク2」のコメントが未入力です。移動しますか？"},
    {16, Question, L"「ランク3」のコメントが未入力です。移動しますか？"},
    {17, Question, L"「ランク4」のコメントが未入力です。移動しますか？"},
    {18, Question, L"「ランク5」のコメントが未入力です。移動しますか？"},
    {19, Question, L"「閾値1」が未入力です。移動しますか？"},
    {20, Question, L"「閾値2」が未入力です。移動しますか？"},
    {21, Question, L"「閾値3」が未入力です。移動しますか？"},
    {22, Question, L"「閾値4」が未入力です。移動しますか？"},
    {23, Question,
     L"閾値の順番が逆転している所があります。\r\n上のボックスから下に行くに従って大きくして下さい。"
     L"\r\n修正せずに移動しますか？"},
    {25, Blocking, L"「ジャンル1」の名前がありません"},
    {26, Blocking, L"「ジャンル2」の名前がありません"},
    {27, Blocking, L"「ジャンル3」の名前がありません"},
    {28, Blocking, L"「ジャンル4」の名前がありません"},
    {29, Blocking, L"「ジャンル5」の名前がありません"},
    {30, Blocking, L"「ジャンル1」の問題数が設定されていません"},
    {31, Blocking, L"「ジャンル2」の問題数が設定されていません"},
    {32, Blocking, L"「ジャンル3」の問題数が設定されていません"},
    {33, Blocking, L"「ジャンル4」の問題数が設定されていません"},
    {34, Blocking, L"「ジャンル5」の問題数が設定されていません"},
    {36, Question, L"点数が入力されていません。移動しますか？"},
    {38, Question, L"問題文がありません。移動しますか？"},
    {39, Question, L"解説がありません。移動しますか？"},
    {40, Question, L"1つ目の選択肢が入力されていません。移動しますか？"},
    {41, Question, L"2つ目の選択肢が入力されていません。移動しますか？"},
    {42, Question, L"3つ目の選択肢が入力されていません。移動しますか？"},
    {43, Question, L"4つ目の選択肢が入力されていません。移動しますか？"},
    {44, Question, L"5つ目の選択肢が入力されていません。移動しますか？"},
    {45, Question, L"入力されていない選択肢が正解に含まれています。移動しますか？"},
    {46, Question, L"問題集のタイトルが入力されていません。問題集として出力しますか？"},
    {47, Question, L"ジャンル名に不足があります。問題集として出力しますか？"},
    {48, Question, L"ランクの入力に不足があります。問題集として出力しますか？"},
    {49, Question, L"問題数が不足しているジャンルがあります。問題集として出力しますか？"},
    {50, Question, L"正しく入力されていない問題があります。問題集として出力しますか？"},
};

constexpr CatalogueEntry fallbackEntry = {0, Fallback, L"その他のエラー"};

const CatalogueEntry& findEntry(MessageCode code) {
    for (const CatalogueEntry& entry : catalogue) {
        if (entry.code == code) {
            return entry;
        }
    }
    return fallbackEntry;
}

} // namespace

MessageAnswer showMessage(MessageCode code) {
    const CatalogueEntry& entry = findEntry(code);
    const KindLook& look = kindLooks[entry.kind];
    const int result = MessageBoxW(nullptr, entry.text, look.caption, look.style);
    if (entry.kind == Question && result == IDYES) {
        return Proceed;
    }
    return look.answer;
}
