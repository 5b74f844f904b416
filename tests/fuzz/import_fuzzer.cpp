// Any bytes given to an import reader must parse without a sanitizer report
// and end in the model with no comma in a text and no text unterminated.
// Built once per reader, which IMPORT_READER names.
#include "model/question_set.h"
#include "tools/tovtool/import/import_record.h"
#include "tools/tovtool/import/question_mapping.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void read(std::string_view bytes, ImportBatch& batch) {
#if IMPORT_READER == 1
    readDelimited(bytes, ',', batch);
#elif IMPORT_READER == 2
    readWorkbook(bytes, "", batch);
#elif IMPORT_READER == 3
    readMoodle(bytes, batch);
#elif IMPORT_READER == 4
    readGift(bytes, batch);
#else
    readAiken(bytes, batch);
#endif
}

template <std::size_t N> void expectSound(const char (&text)[N]) {
    if (std::memchr(text, '\0', N) == nullptr || std::strchr(text, ',') != nullptr) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ImportBatch batch;
    read(std::string_view(reinterpret_cast<const char*>(data), size), batch);
    std::memset(&questionSet, 0, sizeof questionSet);
    ImportState state = startImport(0);
    ImportReport report;
    importRecords(batch, "fuzz", state, report);
    finishImport(state);
    for (int slot = 0; slot < state.questions; ++slot) {
        const Question& q = questionSet.questions[slot];
        expectSound(q.text);
        expectSound(q.explanation);
        for (const auto& choice : q.choices) {
            expectSound(choice);
        }
        if (q.format < 1 || q.format > 4 || q.points < 1 || q.genre < 1 || q.genre > 5) {
            std::abort();
        }
    }
    return 0;
}
