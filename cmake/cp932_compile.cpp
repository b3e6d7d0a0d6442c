// Compiler launcher for compilers that cannot encode narrow literals in CP932
// (Clang accepts only -fexec-charset=UTF-8):
//   cp932-compile COMPILER ARGS... -o OBJECT -c SOURCE
// preprocesses SOURCE (writing the dependency file as usual), rewrites every
// ordinary string and character literal of the result so that its non-ASCII
// characters are the octal escapes of their CP932 bytes, and compiles that.
// The program then holds the same bytes a CP932 execution character set gives.
// Any other command line (no -c) is run unchanged.

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
            if (c == '/' && next() == '/') {
                copyUntilLineEnd();
                lineStart = true;
            } else if (c == '/' && next() == '*') {
                const size_t end = s_.find("*/", i_ + 2);
                const size_t stop = end == std::string::npos ? s_.size() : end + 2;
                out.append(s_, i_, stop - i_);
                i_ = stop;
            } else if (isIdentifierChar(c) || (c == '.' && next() >= '0' && next() <= '9')) {
                if (!word())
                    return false;
            } else if (c == '"' || c == '\'') {
                if (!ordinaryLiteral(c))
                    return false;
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

    // An identifier or number; an encoding prefix decides how the literal
    // right after it is treated.
    bool word() {
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
        const char quote = i_ < s_.size() ? s_[i_] : '\0';
        if (number || (quote != '"' && quote != '\'')) {
            *out_ += w;
            return true;
        }
        if (w == "R" && quote == '"')
            return rawLiteral();
        const bool encodingPrefix = w == "u8" || w == "u" || w == "U" || w == "L";
        const bool rawPrefix = w == "u8R" || w == "uR" || w == "UR" || w == "LR";
        *out_ += w;
        if (rawPrefix && quote == '"')
            return copyRawLiteral();
        if (encodingPrefix)
            return copyLiteral(quote);
        return true; // a user-defined literal suffix or similar: the quote follows on its own
    }

    // Literals with an encoding prefix keep their text: the compiler encodes them.
    bool copyLiteral(char quote) {
        const size_t start = i_++;
        while (i_ < s_.size() && s_[i_] != quote && s_[i_] != '\n')
            i_ += s_[i_] == '\\' ? 2 : 1;
        if (i_ >= s_.size() || s_[i_] != quote)
            return false;
        ++i_;
        out_->append(s_, start, i_ - start);
        return true;
    }

    // The delimiter and content of a raw literal starting at the quote.
    bool rawParts(std::string& content) {
        const size_t open = s_.find('(', i_);
        if (open == std::string::npos)
            return false;
        const std::string close = ")" + s_.substr(i_ + 1, open - i_ - 1) + "\"";
        const size_t end = s_.find(close, open + 1);
        if (end == std::string::npos)
            return false;
        content = s_.substr(open + 1, end - open - 1);
        rawEnd_ = end + close.size();
        return true;
    }

    bool copyRawLiteral() {
        std::string content;
        if (!rawParts(content))
            return false;
        out_->append(s_, i_, rawEnd_ - i_);
        i_ = rawEnd_;
        return true;
    }

    // A narrow raw literal becomes an ordinary one with everything escaped.
    bool rawLiteral() {
        std::string content;
        if (!rawParts(content))
            return false;
        i_ = rawEnd_;
        std::string escaped;
        for (char c : content) {
            if (c == '\\' || c == '"')
                escaped += std::string("\\") + c;
            else if (c == '\n')
                escaped += "\\n";
            else
                escaped += c;
        }
        return convert('"', escaped);
    }

    bool ordinaryLiteral(char quote) {
        const size_t start = ++i_;
        while (i_ < s_.size() && s_[i_] != quote && s_[i_] != '\n')
            i_ += s_[i_] == '\\' ? 2 : 1;
        if (i_ >= s_.size() || s_[i_] != quote)
            return false;
        const std::string body = s_.substr(start, i_ - start);
        ++i_;
        return convert(quote, body);
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
    size_t rawEnd_ = 0;
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
