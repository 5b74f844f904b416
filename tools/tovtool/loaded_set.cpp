#include "tools/tovtool/loaded_set.h"

#include "model/file_open.h"
#include "model/question_file.h"
#include "model/question_set.h"
#include "tools/tovtool/messages.h"

#include <cerrno>
#include <cstring>

namespace {

// Kept for the run, so that many files reuse one buffer.
std::string fileBytes;

} // namespace

bool readFileBytes(const std::wstring& path, std::string& bytes, std::string& error) {
    std::FILE* file = openFile(path.c_str(), "rb");
    if (file == nullptr) {
        error = say(Msg::CannotOpen, {systemError(errno)});
        return false;
    }
    bytes.clear();
    char block[1 << 16];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) {
        bytes.append(block, n);
    }
    const bool failed = std::ferror(file) != 0;
    const int readErrno = errno;
    std::fclose(file);
    if (failed) {
        error = say(Msg::CannotRead, {systemError(readErrno)});
    }
    return !failed;
}

namespace {

int firstEmptySlot() {
    int slot = 0;
    while (slot < kMaxQuestions && questionSet.questions[slot].questionId != 0) {
        ++slot;
    }
    return slot;
}

} // namespace

bool isScrambledPath(const std::wstring& path) {
    return isEepPath(path.c_str());
}

bool loadFile(const std::wstring& path, Form form, LoadedFile& loaded, Problems& problems,
              std::string& error) {
    if (!readFileBytes(path, fileBytes, error)) {
        return false;
    }
    const char* bytes = fileBytes.data();
    const std::size_t size = fileBytes.size();
    loaded.counts = countLines(bytes, size, problems);
    loaded.scrambled = form == Form::ByExtension ? isScrambledPath(path) : form == Form::Scrambled;
    std::memset(&questionSet, 0, sizeof questionSet);
    reportLines(bytes, size, problems);
    loaded.headerResult = readHeaderBytes(bytes, size);
    loaded.questionResult = readQuestionBytes(bytes, size, loaded.scrambled);
    stopReportingLines();
    loaded.questionsInSet = firstEmptySlot();
    return true;
}
