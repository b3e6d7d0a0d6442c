#pragma once

#include "jvdata/jvdata_layouts.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zelkor::jvdata {

// ---- Field slicing: a record is sliced by byte offset, decoded after ----

// The bytes of `field`; bytes beyond the end of the record are left out.
std::string_view slice(std::string_view record, jvlayout::Field field);
// A zero-filled decimal field (leading blanks, a sign allowed); 0 without digits.
int number(std::string_view record, jvlayout::Field field);
// True when every byte of the field is an ASCII digit (and it is not empty).
bool allDigits(std::string_view bytes);
// The field cut before its first full-width space, trailing blanks dropped.
std::string cutText(std::string_view record, jvlayout::Field field);
// The field with trailing blanks and full-width spaces removed: every text
// field is read so, whatever its record's builder padded it with.
std::string trimmedText(std::string_view record, jvlayout::Field field);
// At most `bytes` bytes of the field, never splitting a double-byte
// character, trailing blanks and full-width spaces removed.
std::string headText(std::string_view record, jvlayout::Field field, size_t bytes);

// ---- Framing ----

// The five record types the program keeps (UM in both lengths).
bool isKeptType(std::string_view type);
// Length of a kept type's record (with CR LF) that `bodyBytes` (without
// it) fits; 0 when it is not a valid length.
size_t keptLength(std::string_view type, size_t bodyBytes);

// What the framer tells about each line of a file.
class RecordSink {
  public:
    virtual ~RecordSink() = default;
    // A record of a kept type of the exact length; `body` without its line end.
    virtual void record(std::string_view type, std::string_view body, std::uint64_t offset) = 0;
    // A record of a known type and a wrong length (or without a line end),
    // or, as type "--", bytes that are no record at all (a framing fault).
    virtual void rejected(std::string_view type, std::uint64_t offset, std::string reason) = 0;
    // A record of a known type the program does not keep.
    virtual void skipped(std::string_view type) = 0;
    // Padding passed over: a UTF-8 byte order mark at the start, NULs
    // before a record, filler after the last one.
    virtual void passedOver(std::uint64_t bytes) { (void)bytes; }
};

// Cuts a byte stream into records at line ends (CR LF or LF alone; NULs
// before a record and a byte order mark at the start are padding). Bytes
// are fed in pieces of any size; what it keeps never exceeds the longest
// record plus one piece, so a file without line ends does not grow memory.
class RecordFramer {
  public:
    explicit RecordFramer(RecordSink& sink) : sink_(sink) {}
    void feed(std::string_view bytes);
    // The end of the stream: a last line without a line end is framed too.
    void finish();
    // True once any line was a record of a known type and its exact length:
    // a stream without one is not JV-Data.
    bool sawJvData() const { return sawJvData_; }

  private:
    void line(std::string_view text, std::uint64_t offset, bool hasLineEnd);
    void process(bool atEnd);

    RecordSink& sink_;
    std::string buffer_;
    std::uint64_t bufferOffset_ = 0; // stream offset of buffer_[0]
    bool discarding_ = false;        // inside a line too long to be a record
    bool bomChecked_ = false;        // the start of the stream was looked at
    bool sawJvData_ = false;
};

} // namespace zelkor::jvdata
