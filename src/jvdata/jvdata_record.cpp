#include "jvdata/jvdata_record.h"

#include "race/fixed_record.h"
#include "text/format.h"
#include "text/sjis.h"

#include <algorithm>

namespace zelkor::jvdata {

using jvlayout::Field;
using jvlayout::kLineEndBytes;
using jvlayout::kLongestRecord;
using jvlayout::kRecordTypes;

std::string_view slice(std::string_view record, Field field) {
    if (field.offset >= record.size())
        return {};
    return record.substr(field.offset, std::min(field.width, record.size() - field.offset));
}

int number(std::string_view record, Field field) {
    return jvrecord::readLeadingDigits(record, field.offset, field.width);
}

bool allDigits(std::string_view bytes) {
    return !bytes.empty() &&
           std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string cutText(std::string_view record, Field field) {
    return std::string(withoutTrailingBlanks(cutBeforeFullWidthSpace(slice(record, field))));
}

std::string trimmedText(std::string_view record, Field field) {
    return std::string(withoutTrailingBlanks(slice(record, field)));
}

std::string headText(std::string_view record, Field field, size_t bytes) {
    return std::string(withoutTrailingBlanks(prefixWholeChars(slice(record, field), bytes)));
}

bool isKeptType(std::string_view type) {
    return type == "RA" || type == "SE" || type == "UM" || type == "HR" || type == "O1";
}

size_t keptLength(std::string_view type, size_t bodyBytes) {
    for (const auto& known : kRecordTypes)
        if (known.type == type && known.length == bodyBytes + kLineEndBytes)
            return known.length;
    return 0;
}

namespace {

std::string expectedLengths(std::string_view type) {
    std::string lengths;
    for (const auto& known : kRecordTypes)
        if (known.type == type)
            appendFormat(lengths, "%s%zu", lengths.empty() ? "" : "または", known.length);
    return lengths;
}

bool isKnownType(std::string_view type) {
    return std::any_of(std::begin(kRecordTypes), std::end(kRecordTypes),
                       [type](const auto& known) { return known.type == type; });
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isTrailingFiller(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c == '\0' || c == '\x1a' || c == ' ' || c == '\r' || c == '\t';
    });
}

} // namespace

void RecordFramer::line(std::string_view text, std::uint64_t offset, bool hasLineEnd) {
    if (text.empty())
        return;
    if (!hasLineEnd && isTrailingFiller(text))
        return sink_.passedOver(text.size());
    const std::string_view type = text.substr(0, std::min<size_t>(2, text.size()));
    if (type.size() < 2 || !isKnownType(type))
        return sink_.rejected("--", offset,
                              format("JV-Dataのレコードではないバイト列です（%zuバイト）",
                                     std::min(text.size(), kLongestRecord)));
    const bool exact = hasLineEnd && keptLength(type, text.size()) != 0;
    sawJvData_ = sawJvData_ || exact;
    if (exact && !isKeptType(type))
        return sink_.skipped(type);
    if (exact)
        return sink_.record(type, text, offset);
    std::string reason;
    if (text.size() > kLongestRecord)
        reason = format("%.2sレコードに行末がありません（%sバイトのはず）", type.data(),
                        expectedLengths(type).c_str());
    else if (!hasLineEnd)
        reason = format("%.2sレコードがファイルの終わりで切れています（%zuバイト、%sバイトのはず）",
                        type.data(), text.size(), expectedLengths(type).c_str());
    else
        reason = format("%.2sレコードの長さが%zuバイトです（%sバイトのはず）", type.data(),
                        text.size() + kLineEndBytes, expectedLengths(type).c_str());
    sink_.rejected(type, offset, std::move(reason));
}

void RecordFramer::process(bool atEnd) {
    size_t pos = 0;
    const size_t size = buffer_.size();
    if (!bomChecked_) {
        const std::string_view head = std::string_view(buffer_).substr(0, kByteOrderMark.size());
        if (!atEnd && head.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(head))
            return; // the mark may still be arriving
        bomChecked_ = true;
        if (head == kByteOrderMark) {
            pos = head.size();
            sink_.passedOver(head.size());
        }
    }
    while (pos < size) {
        if (discarding_) {
            const size_t newline = buffer_.find('\n', pos);
            if (newline == std::string::npos) {
                pos = size;
                break;
            }
            discarding_ = false;
            pos = newline + 1;
            continue;
        }
        const size_t first = buffer_.find_first_not_of('\0', pos);
        if (first != pos) {
            sink_.passedOver((first == std::string::npos ? size : first) - pos);
            pos = first == std::string::npos ? size : first;
            continue;
        }
        const size_t newline = buffer_.find('\n', pos);
        if (newline == std::string::npos) {
            // No record is this long: report it once, then skip to a line end.
            if (size - pos > kLongestRecord + kLineEndBytes) {
                line(std::string_view(buffer_).substr(pos, kLongestRecord + 1), bufferOffset_ + pos,
                     false);
                discarding_ = true;
                pos = size;
            } else if (atEnd) {
                line(std::string_view(buffer_).substr(pos), bufferOffset_ + pos, false);
                pos = size;
            }
            break;
        }
        std::string_view text = std::string_view(buffer_).substr(pos, newline - pos);
        if (text.ends_with('\r'))
            text.remove_suffix(1);
        line(text, bufferOffset_ + pos, true);
        pos = newline + 1;
    }
    buffer_.erase(0, pos);
    bufferOffset_ += pos;
}

void RecordFramer::feed(std::string_view bytes) {
    buffer_.append(bytes);
    process(false);
}

void RecordFramer::finish() {
    process(true);
    buffer_.clear();
}

} // namespace zelkor::jvdata
