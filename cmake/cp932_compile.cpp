// Compiler launcher for compilers that cannot encode narrow literals in CP932
// (Clang accepts only -fexec-charset=UTF-8):
//   cp932-compile COMPILER ARGS... -o OBJECT -c SOURCE
// preprocesses SOURCE (writing the dependency file as usual), rewrites every
// ordinary string and character literal of the result so that its non-ASCII
// characters are the octal escapes of their CP932 bytes, and compiles that.
// The program then holds the same bytes a CP932 execution character set gives.
// Any other command line (no -c) is run unchanged.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iconv.h>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

int run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cp932-compile: cannot run %s\n", argv[0]);
        return 127;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return 127;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

// The CP932 bytes of a run of non-ASCII UTF-8 characters, as octal escapes
// (always three digits, so a following digit never joins the escape).
bool appendCp932Escapes(iconv_t cd, const std::string& utf8, std::string& out) {
    std::string cp932(utf8.size() * 2 + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* dst = cp932.data();
    size_t dstLeft = cp932.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &dst, &dstLeft) == static_cast<size_t>(-1))
        return false;
    cp932.resize(cp932.size() - dstLeft);
    for (unsigned char c : cp932) {
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\%03o", static_cast<unsigned>(c));
        out += escape;
    }
    return true;
}

bool isIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// One string literal of the source: [prefix]"body"[suffix] or [prefix]R"d(body)d"[suffix].
struct StringToken {
    std::string prefix; // "", "u8", "u", "U" or "L" (without the R)
    bool raw = false;
    std::string body;
    std::string suffix; // a user-defined literal suffix such as "sv"
    size_t end = 0;     // just past the token
};

class LiteralRewriter {
  public:
    explicit LiteralRewriter(const std::string& text) : s_(text) {}

    bool rewrite(iconv_t cd, std::string& out) {
        cd_ = cd;
        out_ = &out;
        bool lineStart = true;
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if (lineStart && (c == ' ' || c == '\t')) {
                out += s_[i_++];
                continue;
            }
            if (lineStart && c == '#') { // line markers and pragmas stay as they are
                copyUntilLineEnd();
                continue;
            }
            lineStart = c == '\n';
            StringToken token;
            if (c == '/' && next() == '/') {
                copyUntilLineEnd();
                lineStart = true;
            } else if (c == '/' && next() == '*') {
                const size_t end = s_.find("*/", i_ + 2);
                const size_t stop = end == std::string::npos ? s_.size() : end + 2;
                out.append(s_, i_, stop - i_);
                i_ = stop;
            } else if (stringToken(i_, token)) {
                if (!literalSequence())
                    return false;
            } else if (isIdentifierChar(c) || (c == '.' && next() >= '0' && next() <= '9')) {
                word();
            } else if (c == '\'') {
                if (!charLiteral())
                    return false;
            } else if (c == '"') {
                return false; // a string that does not end
            } else {
                out += s_[i_++];
            }
        }
        return true;
    }

  private:
    char next() const { return i_ + 1 < s_.size() ? s_[i_ + 1] : '\0'; }

    void copyUntilLineEnd() {
        const size_t end = s_.find('\n', i_);
        const size_t stop = end == std::string::npos ? s_.size() : end + 1;
        out_->append(s_, i_, stop - i_);
        i_ = stop;
    }

    // Reads the string literal starting at `at`, if one does.
    bool stringToken(size_t at, StringToken& t) const {
        if (at > 0 && isIdentifierChar(s_[at - 1]) && isIdentifierChar(s_[at]))
            return false; // inside a word, so not a prefix
        size_t k = at;
        while (k < s_.size() && isIdentifierChar(s_[k]))
            ++k;
        std::string prefix = s_.substr(at, k - at);
        if (!prefix.empty() && prefix.back() == 'R') {
            t.raw = true;
            prefix.pop_back();
        }
        if (k >= s_.size() || s_[k] != '"' ||
            !(prefix.empty() || prefix == "u8" || prefix == "u" || prefix == "U" || prefix == "L"))
            return false;
        t.prefix = prefix;
        if (t.raw) {
            const size_t open = s_.find('(', k);
            if (open == std::string::npos)
                return false;
            const std::string close = ")" + s_.substr(k + 1, open - k - 1) + "\"";
            const size_t end = s_.find(close, open + 1);
            if (end == std::string::npos)
                return false;
            t.body = s_.substr(open + 1, end - open - 1);
            k = end + close.size();
        } else {
            size_t j = k + 1;
            while (j < s_.size() && s_[j] != '"' && s_[j] != '\n')
                j += s_[j] == '\\' ? 2 : 1;
            if (j >= s_.size() || s_[j] != '"')
                return false;
            t.body = s_.substr(k + 1, j - k - 1);
            k = j + 1;
        }
        const size_t suffixStart = k;
        while (k < s_.size() && isIdentifierChar(s_[k]))
            ++k;
        t.suffix = s_.substr(suffixStart, k - suffixStart);
        t.end = k;
        return true;
    }

    // Where the next token after `at` starts, past blanks and line markers.
    size_t skipSeparators(size_t at) const {
        bool lineStart = false;
        while (at < s_.size()) {
            const char c = s_[at];
            if (c == '\n') {
                lineStart = true;
                ++at;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++at;
            } else if (lineStart && c == '#') {
                const size_t end = s_.find('\n', at);
                at = end == std::string::npos ? s_.size() : end;
            } else {
                break;
            }
        }
        return at;
    }

    // Adjacent string literals form one: when any of them has an encoding
    // prefix the compiler encodes them all (QStringLiteral's u"" "text"), so
    // they stay as written; otherwise each one's text gets its CP932 bytes.
    bool literalSequence() {
        std::vector<StringToken> tokens;
        std::vector<std::string> separators;
        size_t at = i_;
        StringToken t;
        while (stringToken(at, t)) {
            tokens.push_back(t);
            const size_t following = skipSeparators(t.end);
            separators.push_back(s_.substr(t.end, following - t.end));
            at = following;
            if (!t.suffix.empty())
                break;
        }
        bool encoded = false;
        for (const StringToken& token : tokens)
            encoded = encoded || !token.prefix.empty();
        if (encoded) {
            const size_t end = tokens.back().end;
            out_->append(s_, i_, end - i_);
            i_ = end;
            return true;
        }
        for (size_t n = 0; n < tokens.size(); ++n) {
            const bool last = n + 1 == tokens.size();
            if (!convert('"', tokens[n].raw ? escapedRaw(tokens[n].body) : tokens[n].body))
                return false;
            *out_ += tokens[n].suffix;
            if (!last)
                *out_ += separators[n];
        }
        i_ = tokens.back().end;
        return true;
    }

    // An identifier or number, copied; prefixed character literals stay too.
    void word() {
        const size_t start = i_;
        const bool number = (s_[i_] >= '0' && s_[i_] <= '9') || s_[i_] == '.';
        while (i_ < s_.size()) {
            const char c = s_[i_];
            const char prev = i_ > start ? s_[i_ - 1] : '\0';
            if (isIdentifierChar(c) || (number && (c == '.' || c == '\'')) ||
                (number && (c == '+' || c == '-') &&
                 (prev == 'e' || prev == 'E' || prev == 'p' || prev == 'P')))
                ++i_;
            else
                break;
        }
        const std::string w = s_.substr(start, i_ - start);
        *out_ += w;
        if (!number && i_ < s_.size() && s_[i_] == '\'' &&
            (w == "u8" || w == "u" || w == "U" || w == "L")) {
            const size_t literalStart = i_++;
            while (i_ < s_.size() && s_[i_] != '\'' && s_[i_] != '\n')
                i_ += s_[i_] == '\\' ? 2 : 1;
            i_ = std::min(i_ + 1, s_.size());
            out_->append(s_, literalStart, i_ - literalStart);
        }
    }

    // The content of a raw literal as the body of an ordinary one.
    static std::string escapedRaw(const std::string& content) {
        std::string escaped;
        for (char c : content) {
            if (c == '\\' || c == '"')
                escaped += std::string("\\") + c;
            else if (c == '\n')
                escaped += "\\n";
            else
                escaped += c;
        }
        return escaped;
    }

    bool charLiteral() {
        const size_t start = ++i_;
        while (i_ < s_.size() && s_[i_] != '\'' && s_[i_] != '\n')
            i_ += s_[i_] == '\\' ? 2 : 1;
        if (i_ >= s_.size() || s_[i_] != '\'')
            return false;
        const std::string body = s_.substr(start, i_ - start);
        ++i_;
        return convert('\'', body);
    }

    // Writes the literal with each run of non-ASCII characters escaped.
    bool convert(char quote, const std::string& body) {
        *out_ += quote;
        for (size_t k = 0; k < body.size();) {
            if (static_cast<unsigned char>(body[k]) < 0x80) {
                *out_ += body[k++];
                continue;
            }
            const size_t runStart = k;
            while (k < body.size() && static_cast<unsigned char>(body[k]) >= 0x80)
                ++k;
            if (!appendCp932Escapes(cd_, body.substr(runStart, k - runStart), *out_))
                return false;
        }
        *out_ += quote;
        return true;
    }

    const std::string& s_;
    size_t i_ = 0;
    iconv_t cd_ = nullptr;
    std::string* out_ = nullptr;
};

bool rewriteFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in)
        return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    iconv_t cd = iconv_open("CP932//TRANSLIT", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    LiteralRewriter rewriter(text);
    const bool ok = rewriter.rewrite(cd, out);
    iconv_close(cd);
    if (!ok)
        return false;
    std::ofstream file(to, std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file.flush());
}

bool takesValue(const std::string& a) {
    return a == "-MT" || a == "-MF" || a == "-MQ" || a == "-I" || a == "-D" || a == "-U" ||
           a == "-isystem" || a == "-include" || a == "-iquote";
}

// Options that only matter to the preprocessor, already applied by it.
bool preprocessorOnly(const std::string& a) {
    return a == "-MD" || a == "-MMD" || takesValue(a) || a.rfind("-I", 0) == 0 ||
           a.rfind("-D", 0) == 0 || a.rfind("-U", 0) == 0 || a.rfind("-isystem", 0) == 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    size_t source = 0, object = 0;
    for (size_t k = 0; k + 1 < args.size(); ++k) {
        if (args[k] == "-c")
            source = k + 1;
        else if (args[k] == "-o")
            object = k + 1;
    }
    if (args.empty())
        return 2;
    if (source == 0 || object == 0)
        return run(args);

    const std::string preprocessed = args[object] + ".ii";
    const std::string converted = args[object] + ".cp932.ii";
    std::vector<std::string> preprocess = args;
    preprocess[source - 1] = "-E";
    preprocess[object] = preprocessed;
    if (int status = run(preprocess); status != 0)
        return status;
    if (!rewriteFile(preprocessed, converted)) {
        std::fprintf(stderr, "cp932-compile: cannot convert the literals of %s\n",
                     args[source].c_str());
        return 1;
    }

    std::vector<std::string> compile;
    for (size_t k = 0; k < args.size(); ++k) {
        if (k == source) {
            compile.push_back(converted);
        } else if (k > 0 && preprocessorOnly(args[k])) {
            if (takesValue(args[k]))
                ++k;
        } else {
            compile.push_back(args[k]);
        }
    }
    const int status = run(compile);
    std::remove(preprocessed.c_str());
    std::remove(converted.c_str());
    return status;
}
