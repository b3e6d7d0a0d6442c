#include "support/archive_writer.h"

#include <cstdio>

namespace zelkor::test {
namespace {

std::string le(std::uint64_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xff);
    return out;
}

// The reflected CRC of LZH (0xA001, from 0) or zip (0xEDB88320, from ~0, inverted).
std::uint32_t crc(const std::string& data, std::uint32_t poly, std::uint32_t c) {
    for (unsigned char b : data) {
        c ^= b;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? (c >> 1) ^ poly : c >> 1;
    }
    return c;
}

unsigned byteSum(const std::string& bytes) {
    unsigned sum = 0;
    for (unsigned char c : bytes)
        sum += c;
    return sum;
}

} // namespace

std::string lzhStoredEntry(const std::string& name, const std::string& data,
                           std::uint32_t declared) {
    const std::uint32_t original = declared == 0xffffffff ? data.size() : declared;
    const std::string body = "-lh0-" + le(data.size(), 4) + le(original, 4) + le(0x5B2B0000, 4) +
                             "\x20\x01" + static_cast<char>(name.size()) + name +
                             le(crc(data, 0xA001, 0), 2) + 'U' + le(0, 2);
    return le(body.size(), 1) + le(byteSum(body), 1) + body + data;
}

std::string zipArchive(const std::vector<StoredFile>& files, bool utf8Names) {
    std::string out, central;
    for (const StoredFile& f : files) {
        const std::string common = le(20, 2) + le(utf8Names ? 0x800 : 0, 2) + le(0, 6) +
                                   le(~crc(f.data, 0xEDB88320, ~0u), 4) + le(f.data.size(), 4) +
                                   le(f.data.size(), 4) + le(f.name.size(), 2) + le(0, 2);
        central += le(0x02014b50, 4) + le(20, 2) + common + le(0, 10) + le(out.size(), 4) + f.name;
        out += le(0x04034b50, 4) + common + f.name + f.data;
    }
    return out + central + le(0x06054b50, 4) + le(0, 4) + le(files.size(), 2) +
           le(files.size(), 2) + le(central.size(), 4) + le(out.size(), 4) + le(0, 2);
}

std::string tarArchive(const std::vector<StoredFile>& files) {
    std::string out;
    for (const StoredFile& f : files) {
        char numbers[24];
        std::snprintf(numbers, sizeof numbers, "0000644%c%011zo", '\0', f.data.size());
        std::string h = f.name + std::string(100 - f.name.size(), '\0') + std::string(numbers, 8) +
                        std::string(16, '\0') + (numbers + 8) + std::string(13, '\0') +
                        "        0" + std::string(100, '\0') + std::string("ustar\00000", 8) +
                        std::string(247, '\0');
        std::snprintf(numbers, sizeof numbers, "%06o", byteSum(h));
        h.replace(148, 7, numbers, 7);
        out += h + f.data + std::string((512 - f.data.size() % 512) % 512, '\0');
    }
    return out + std::string(1024, '\0');
}

} // namespace zelkor::test
