#include "app/file_commands.h"

#include "app/editor_state.h"
#include "app/message_catalogue.h"
#include "app/navigation.h"
#include "app/system_dialogs.h"
#include "model/load_and_output.h"
#include "model/question_set.h"
#include "pages/question/question_page.h"

#include <cstring>

OPENFILENAMEW loadDialog = {};
wchar_t loadFileTitle[260] = {};

namespace {

// The slot of the page as stored before the whole-set check.
Question pageStored;

bool askLoadPath(HWND window) {
    loadDialog = {};
    loadDialog.lStructSize = sizeof loadDialog;
    loadDialog.hwndOwner = window;
    loadDialog.lpstrFilter = L"EEP(*.eep)\0*.eep\0CSV(*.csv)\0*.csv\0All files(*.*)\0*.*\0";
    loadDialog.lpstrFile = loadPath;
    loadDialog.nMaxFile = kPathSize;
    loadDialog.lpstrFileTitle = loadFileTitle;
    loadDialog.nMaxFileTitle = 260;
    loadDialog.Flags = OFN_FILEMUSTEXIST;
    loadDialog.lpstrTitle = L"ファイルを開く";
    loadDialog.lpstrDefExt = L"eep";
    return showOpenDialog(&loadDialog) != 0;
}

// The loaded set opens on its first question, in the advanced course.
void openLoadedSet(HWND window) {
    course = Advanced;
    leaveStartScreen(window);
    onSettingsPage = 1;
    currentIndex = 0;
    onStartScreen = 0;
    createOutputButton(window);
    buildQuestionPage(window);
    paintQuestionLabels(window);
    onSettingsPage = 0;
}

void reportOutput(OutputResult result) {
    switch (result) {
    case OutputWritten:
        MessageBoxW(nullptr, L"問題集を出力しました", L"出力完了", MB_OK);
        break;
    case OutputCancelled:
        MessageBoxW(nullptr, L"問題集の出力をキャンセルしました", L"処理の中止", MB_OK);
        break;
    default:
        MessageBoxW(nullptr, L"問題集の出力に失敗しました", L"出力失敗", MB_OK);
        break;
    }
}

} // namespace

void commandLoad(HWND window) {
    if (onStartScreen != 1 || !askLoadPath(window)) {
        return;
    }
    const int result = loadQuestionSet();
    // Nothing was read: the start screen stays, for another file or a course.
    if (result == kLoadUnopened) {
        return;
    }
    // A line that could not be read has been reported; what came before it
    // is shown, without the box that says all went well.
    if (result == 0) {
        MessageBoxW(window, L"読み込み完了。検定作成を開始します。", L"開始", MB_OK);
    }
    openLoadedSet(window);
}

void commandOutput(HWND window) {
    if (onStartScreen == 1 || onSettingsPage == 1 || !leaveQuestionPage(window)) {
        return;
    }
    pageStored = questionSet.questions[currentIndex];
    const MessageCode code = checkQuestionSet();
    // The check may have deleted questions and moved the later ones up: then
    // the page shows what its slot holds now, so that no later store
    // overwrites another question with a stale page. Otherwise it stays as
    // typed, greyed choices included.
    if (std::memcmp(&pageStored, &questionSet.questions[currentIndex], sizeof pageStored) != 0) {
        buildQuestionPage(window);
    }
    if (code != 0 && showMessage(code) == Stop) {
        return;
    }
    reportOutput(outputQuestionSet(window));
}
