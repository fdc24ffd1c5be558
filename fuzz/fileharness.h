#pragma once
// The entry point of the file readers' harnesses. An input is two bytes that pick read
// sizes and limits, then the file itself, which is written to disk for the readers
// that take a path. Each harness defines fuzzFile.
#include "fuzzcheck.h"

#include <cstddef>
#include <cstdint>

namespace fuzzcheck {

struct FileInput {
    std::uint8_t first = 0;
    std::uint8_t second = 0;
    QByteArray bytes;
    QString path;
};

}  // namespace fuzzcheck

void fuzzFile(const fuzzcheck::FileInput &input);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    fuzzcheck::FileInput input;
    input.first = data[0];
    input.second = data[1];
    input.bytes = QByteArray(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    input.path = fuzzcheck::writeInput(input.bytes);
    fuzzFile(input);
    return 0;
}
