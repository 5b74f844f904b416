#include "tools/tovtool/output_file.h"

#include "model/file_open.h"
#include "tools/tovtool/messages.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

bool writeBytes(std::FILE* stream, const void* bytes) {
    const auto& text = *static_cast<const std::string*>(bytes);
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

bool replaceFile(const std::wstring& path, ContentWriter write, const void* content,
                 std::string& error) {
    // Beside the target, so that the rename stays on one file system.
    const fs::path target(path);
    fs::path partial = target;
    partial += ".partial-" + std::to_string(getpid());
    std::FILE* stream = openFile(partial.wstring().c_str(), "wb");
    if (stream == nullptr) {
        error = say(Msg::CannotWrite, {systemError(errno)});
        return false;
    }
    bool written = write(stream, content) && std::fflush(stream) == 0;
    int writeErrno = errno;
    written = std::fclose(stream) == 0 && written;
    writeErrno = written ? 0 : (writeErrno != 0 ? writeErrno : errno);
    std::error_code renamed;
    if (written) {
        fs::rename(partial, target, renamed);
    }
    if (!written || renamed) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        error = say(Msg::CannotWrite, {written ? renamed.message() : systemError(writeErrno)});
        return false;
    }
    return true;
}
