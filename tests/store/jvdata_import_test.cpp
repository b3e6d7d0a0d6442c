#include "store/jv_store.h"
#include "store/jvdata_store.h"
#include "support/archive_writer.h"
#include "support/jvdata_generator.h"
#include "support/recording_prompt.h"
#include "support/season_store.h"
#include "support/silent_progress.h"
#include "support/temp_folder.h"
#include "text/cp932.h"
#include "text/format.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zelkor {
namespace {

using namespace test;

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Counts in a line: "RA r2 a1 x1" (r read, a added, p replaced, o older
// ignored, e the same version again, d deleted, x rejected, s skipped;
// zeros left out).
std::string countsText(const ImportSummary& summary) {
    std::string text;
    for (const auto& [type, c] : summary.byType) {
        appendFormat(text, "%s%s r%lld", text.empty() ? "" : " ", type.c_str(), c.read);
        const std::pair<char, long long> parts[] = {
            {'a', c.added},   {'p', c.replaced}, {'o', c.olderIgnored}, {'e', c.sameIgnored},
            {'d', c.deleted}, {'x', c.rejected}, {'s', c.skipped}};
        for (const auto& [letter, n] : parts)
            if (n != 0)
                appendFormat(text, " %c%lld", letter, n);
    }
    for (const RejectedRecord& r : summary.rejected)
        appendFormat(text, " @%lld", r.offset);
    long long padding = 0;
    for (const ImportedFile& f : summary.files)
        padding += f.passedOver;
    if (padding != 0)
        appendFormat(text, " ~%lld", padding);
    return text;
}

// Every row of the store, in table and row order.
std::string dump(const std::string& storePath) {
    auto opened = JvStore::open(storePath, JvStore::Mode::Read);
    std::string rows;
    if (!opened)
        return "no store";
    JvStore* store = opened->get();
    for (const char* sql :
         {"SELECT made, kind, key, 0, rec FROM ra", "SELECT made, kind, race, horse, rec FROM se",
          "SELECT made, kind, key, 0, rec FROM um", "SELECT made, kind, key, 0, rec FROM hr",
          "SELECT made, kind, key, 0, rec FROM o1"}) {
        StoreStatement s = store->prepare(sql);
        while (s.step())
            appendFormat(rows, "%lld %c %lld %lld %zu:%s\n", s.integer(0),
                         static_cast<char>(s.integer(1)), s.integer(2), s.integer(3),
                         s.blob(4).size(), std::string(s.blob(4)).c_str());
    }
    return rows;
}

struct Fixture {
    TempFolder folder{"jvdata"};
    RecordingPrompt prompt;
    SilentProgress progress;
    std::string store = jvStorePath(folder.path());
    ImportSummary summary;
    bool import(const std::string& bytes, const std::string& name = "in.jvd") {
        writeFile(folder.file(name), bytes);
        return importJvData({folder.file(name)}, store, summary, prompt, progress).ok();
    }
};

JvdRace race(char kind = '7', int madeOn = 0) {
    JvdRace r;
    r.kind = kind;
    r.madeOn = madeOn;
    return r;
}

TEST(JvDataImport, FramingLengthsAndTypes) {
    const std::string ra = jvdRecord(race());
    const std::string se = jvdRecord(race(), JvdRunner{});
    JvdHorse oldUm;
    oldUm.before2023 = true;
    oldUm.horseId = "2022100002";
    const std::string weather = "WE" + std::string(38, '1'); // a 42-byte type we skip
    const struct {
        const char* name;
        std::string bytes;
        const char* counts;
    } cases[] = {
        {"every framing",
         jvdFramed(ra, JvdLineEnd::Lf) + jvdFramed(se, JvdLineEnd::CrLfNul) +
             jvdFramed(jvdRecord(JvdHorse{})) + jvdFramed(jvdRecord(oldUm), JvdLineEnd::Lf) +
             jvdFramed(jvdRecord(JvdPayouts{})) +
             jvdFramed(jvdRecord(JvdOdds{}), JvdLineEnd::CrLfNul),
         "HR r1 a1 O1 r1 a1 RA r1 a1 SE r1 a1 UM r2 a2 ~2"},
        {"wrong lengths, other types, a line without end",
         jvdFramed(ra.substr(0, 1000)) + jvdFramed(se + "X") + jvdFramed(weather) + "ZZ12\r\n" +
             jvdFramed(ra) + se,
         "-- r1 x1 RA r2 a1 x1 SE r2 x2 WE r1 s1 @0 @1002 @1600 @2878"},
        {"a byte order mark, NULs, a line of text",
         "\xEF\xBB\xBF" + jvdFramed(ra) + std::string(2, '\0') + jvdFramed(se) +
             std::string("hello\r\n\0", 8),
         "-- r1 x1 RA r1 a1 SE r1 a1 @1832 ~6"},
        {"bad data kind, bad key",
         jvdFramed("RAX" + ra.substr(3)) + jvdFramed(ra.substr(0, 19) + "!!" + ra.substr(21)),
         "RA r2 x2 @0 @1272"},
    };
    for (const auto& c : cases) {
        Fixture f;
        EXPECT_TRUE(f.import(c.bytes)) << c.name;
        EXPECT_EQ(countsText(f.summary), c.counts) << c.name;
    }
}

TEST(JvDataImport, NotJvDataIsOneMessageNamingTheFile) {
    Fixture f;
    EXPECT_FALSE(f.import("hello\r\nworld\r\n" + std::string(200000, 'x'), "notes.txt"));
    ASSERT_EQ(f.prompt.entries.size(), 1u);
    EXPECT_NE(f.prompt.entries[0].text.find("notes.txt"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(f.store) && dump(f.store) != "");
}

TEST(JvDataImport, NewestVersionPerKey) {
    struct Version {
        char kind;
        int madeOn;
    };
    const struct {
        std::vector<Version> versions; // in reading order
        char kept;
        const char* counts;
    } cases[] = {
        {{{'2', 20250104}, {'7', 20250106}, {'5', 20250105}}, '7', "RA r3 a1 p1 o1"},
        {{{'7', 20250106}, {'2', 20250104}, {'7', 20250106}}, '7', "RA r3 a1 o1 e1"},
        {{{'7', 20250106}, {'9', 20250106}, {'B', 20250106}}, '9', "RA r3 a1 p1 o1"},
        {{{'7', 20250106}, {'0', 20250107}, {'5', 20250105}}, '0', "RA r3 a1 o1 d1"},
        {{{'0', 20250107}, {'7', 20250108}}, '7', "RA r2 p1 d1"},
        // A delete beats every version made on its day, read before or after it.
        {{{'0', 20250106}, {'7', 20250106}, {'9', 20250106}}, '0', "RA r3 o2 d1"},
    };
    for (const auto& c : cases) {
        Fixture f;
        std::string bytes;
        for (const Version& v : c.versions)
            bytes += jvdFramed(jvdRecord(race(v.kind, v.madeOn)));
        ASSERT_TRUE(f.import(bytes));
        EXPECT_EQ(countsText(f.summary), c.counts);
        EXPECT_EQ(dump(f.store).substr(9, 1), std::string(1, c.kept)) << c.counts;
        // Importing the same file again changes nothing.
        const std::string before = dump(f.store);
        ASSERT_TRUE(f.import(bytes));
        const ImportCounts& again = f.summary.byType["RA"];
        EXPECT_EQ(again.olderIgnored + again.sameIgnored,
                  static_cast<long long>(c.versions.size()));
        EXPECT_EQ(again.sameIgnored, std::count_if(c.versions.begin(), c.versions.end(),
                                                   [&c](Version v) { return v.kind == c.kept; }));
        EXPECT_EQ(dump(f.store), before);
    }
}

std::string season(int days, std::uint32_t seed) {
    std::ostringstream out;
    JvdSeasonPlan plan;
    plan.days = days;
    plan.horses = 600;
    plan.seed = seed;
    writeJvdSeason(out, plan);
    return out.str();
}

// Kills its own process halfway through the import.
class KillHalfway : public SilentProgress {
  public:
    void setPosition(int position) override {
        if (position >= 40 && position < 100)
            ::kill(::getpid(), SIGKILL);
    }
};

TEST(JvDataImport, KilledImportLeavesTheStoreAsItWas) {
    Fixture f;
    ASSERT_TRUE(f.import(season(1, 1)));
    const std::string before = dump(f.store);
    std::filesystem::create_directory(f.folder.file("more"));
    writeFile(f.folder.file("more/a.jvd"), season(2, 2));
    writeFile(f.folder.file("more/b.jvd"), season(2, 3));
    const pid_t child = ::fork();
    if (child == 0) {
        KillHalfway progress;
        static_cast<void>(
            importJvData({f.folder.file("more")}, f.store, f.summary, f.prompt, progress));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(dump(f.store), before);
    // The store still takes imports.
    EXPECT_TRUE(importJvData({f.folder.file("more")}, f.store, f.summary, f.prompt, f.progress));
    EXPECT_NE(dump(f.store), before);
}

// The store and its side files as bytes ("-" for a file that is not there).
std::string storeFiles(const std::string& store) {
    std::string all;
    for (const char* suffix : {"", "-wal", "-shm"})
        all += (std::filesystem::exists(store + suffix) ? readFile(store + suffix) : "-") + "|";
    return all;
}

// Every job refuses a store of a newer version, a foreign SQLite file and
// noise with one message, and leaves them byte for byte, side files included.
TEST(JvDataImport, ARefusedStoreIsLeftAsItWasSideFilesIncluded) {
    const std::pair<const char*, const char*> cases[] = {
        // SQL by another program ("": noise)
        {"PRAGMA journal_mode = WAL; PRAGMA user_version = 2; CREATE TABLE t(x); "
         "PRAGMA wal_checkpoint; INSERT INTO t VALUES(1)",
         "（保存形式 2）で作られています。\r\nこのプログラムを新しい版に更新してください。"
         "保存ファイルはそのままです。"},
        {"PRAGMA user_version = 1; CREATE TABLE notes(text)",
         "はゼルコ馬のJV-Dataの保存ファイルではありません。\r\nファイルには手を付けていません。"},
        {"", "はJV-Dataの保存ファイルではないか、壊れています。"}};
    for (const auto& [sql, says] : cases) {
        Fixture f;
        std::filesystem::create_directories(jvStoreFolder(f.folder.path()));
        writeFile(f.store, *sql != '\0' ? "" : std::string(5000, 'z'));
        ASSERT_TRUE(runSqlAsAnotherProgram(f.store, sql));
        const std::string before = storeFiles(f.store);
        EXPECT_FALSE(f.import(jvdFramed(jvdRecord(race()))));
        const std::vector<std::string> failures = {readStoreDates(f.store).message(),
                                                   openStoreDay(f.store, 20250105).message(),
                                                   checkJvStore(f.store).message()};
        EXPECT_EQ(storeFiles(f.store), before) << says;
        ASSERT_EQ(f.prompt.entries.size(), 1u);
        EXPECT_NE(f.prompt.entries[0].text.find(says), std::string::npos);
        EXPECT_EQ(failures, std::vector<std::string>(3, f.prompt.entries[0].text));
    }
}

// Whether `job` succeeds in a child process of a user who does not own the
// files (nobody when run as root); its first message is left in `said`.
bool asAnotherUser(const std::string& said, const std::function<bool(UserPrompt&)>& job) {
    const pid_t child = ::fork();
    if (child == 0) {
        RecordingPrompt prompt;
        const bool other = ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
        const bool done = other && job(prompt);
        writeFile(said, prompt.entries.empty() ? "" : prompt.entries[0].text);
        ::_exit(done ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A store its reader cannot write is read with no file left behind; an
// import that meets a side file it cannot write names that file.
TEST(JvDataImport, AReadOnlyStoreLeavesNoSideFileAndOneInTheWayIsNamed) {
    Fixture f;
    ASSERT_TRUE(f.import(jvdFramed(jvdRecord(race()))));
    const std::string said = f.folder.file("said"), shm = f.store + "-shm";
    for (const std::string& folder : {f.folder.path(), jvStoreFolder(f.folder.path())})
        ::chmod(folder.c_str(), 0777);
    ::chmod(f.store.c_str(), 0444);
    EXPECT_TRUE(asAnotherUser(said, [&](UserPrompt& prompt) {
        const auto day = openStoreDay(f.store, 20250105);
        prompt.showMessage(day.message());
        return day.ok();
    })) << readFile(said);
    EXPECT_FALSE(std::filesystem::exists(f.store + "-wal") || std::filesystem::exists(shm));

    ::chmod(f.store.c_str(), 0666);
    writeFile(shm, "");
    ::chmod(shm.c_str(), 0444);
    EXPECT_FALSE(asAnotherUser(said, [&](UserPrompt& prompt) {
        return importJvData({f.folder.file("in.jvd")}, f.store, f.summary, prompt, f.progress).ok();
    }));
    EXPECT_EQ(readFile(said), format("JV-Dataの保存ファイル'%s'に使う'%s'に書き込めません。\r\n"
                                     "'%s'に書き込めるようにしてください。",
                                     f.store.c_str(), shm.c_str(), shm.c_str()));
}

// Archives hold the same records as the plain files they were made from
// (the seeds of the fuzz target: records.zip holds horses.dat and
// versions.dat, race_day.gz is race_day.dat).
TEST(JvDataImport, ArchivesGiveTheirFilesRecords) {
    const char* root = std::getenv("ZELKOR_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    const std::string seeds = std::string(root) + "/tests/fuzz/corpus/jvdata/";
    const std::vector<std::string> pairs[][2] = {
        {{seeds + "race_day.gz"}, {seeds + "race_day.dat"}},
        {{seeds + "records.zip"}, {seeds + "horses.dat", seeds + "versions.dat"}},
    };
    for (const auto& pair : pairs) {
        std::string counts[2], rows[2];
        for (int i = 0; i < 2; ++i) {
            Fixture f;
            ASSERT_TRUE(importJvData(pair[i], f.store, f.summary, f.prompt, f.progress));
            f.summary.rejected.clear();
            counts[i] = countsText(f.summary);
            rows[i] = dump(f.store);
        }
        EXPECT_EQ(counts[0], counts[1]);
        EXPECT_EQ(rows[0], rows[1]);
        EXPECT_NE(rows[0], "");
    }
}

TEST(JvDataImport, SummaryText) {
    ImportSummary summary;
    summary.byType["RA"] = {4, 1, 1, 1, 0, 1, 0};
    summary.byType["WE"] = {3, 0, 0, 0, 0, 0, 2, 1};
    summary.rejected = {{"day.dat", 1272, "RAレコードの長さが1271バイトです（1272バイトのはず）"}};
    summary.notJvData = {"readme.txt"};
    EXPECT_EQ(importSummaryText(summary),
              "種別     読込     追加     置換   古い版   同じ版     削除     不正   対象外\r\n"
              "RA          4        1        1        1        0        0        1        0\r\n"
              "WE          3        0        0        0        1        0        0        2\r\n"
              "合計        7        1        1        1        1        0        1        2\r\n"
              "不正なレコード: day.dat (1272バイト目): "
              "RAレコードの長さが1271バイトです（1272バイトのはず）\r\n"
              "JV-Dataではないファイル: readme.txt\r\n");
}

std::string edited(std::string record, size_t at, std::string_view bytes) {
    return record.replace(at, bytes.size(), bytes);
}

// A number or date no record can hold rejects its record, naming the field.
TEST(JvDataImport, NumbersAndDatesThatCannotBeTrue) {
    JvdRace local = race('A');
    local.key.course = "44";
    JvdRunner second;
    second.horseId = "2022100002";
    JvdRunner unweighed;
    unweighed.horseNo = 18;
    const std::string se = jvdRecord(race(), JvdRunner{});
    const std::string hr = jvdRecord(JvdPayouts{});
    const struct {
        std::string records; // the last one is judged
        const char* reason;  // empty: taken
    } cases[] = {
        {edited(hr, 104, "-00000500"),
         "HRレコードの単勝払戻金 (105バイト目から) が0で埋めた数字ではありません"},
        {edited(hr, 104, "  1 2 3  "),
         "HRレコードの単勝払戻金 (105バイト目から) が0で埋めた数字ではありません"},
        {edited(se, 28, "-1"), "SEレコードの馬番 (29バイト目から) が0で埋めた数字ではありません"},
        {edited(se, 28, "19"), "SEレコードの馬番19は1～18のどれでもありません"},
        {edited(se, 28, "00"), "SEレコードの馬番00は1～18のどれでもありません"},
        {se + "\r\n" + jvdRecord(race(), second),
         "SEレコードの馬番01は同じレースのほかの馬にもあります"},
        {edited(jvdRecord(local, JvdRunner{}), 28, "99"), ""},
        {edited(jvdRecord(race(), unweighed), 324, "   "), ""},
        {edited(jvdRecord(race()), 3, "99999999"), "RAレコードの作成日99999999は暦にない日付です"},
        {edited(jvdRecord(race()), 11, "20250230"),
         "RAレコードの開催年月日20250230は暦にない日付です"},
        {edited(jvdRecord(race()), 11, "00000000"),
         "RAレコードの開催年月日00000000は暦にない日付です"},
        {edited(jvdRecord(JvdHorse{}), 3, "20251301"),
         "UMレコードの作成日20251301は暦にない日付です"},
        {edited(jvdRecord(local), 19, "4a"), "RAレコードのキーが正しくありません"},
        {edited(se, 30, "20221000X1"), "SEレコードのキーが正しくありません"},
        {edited(jvdRecord(JvdHorse{}), 11, "2022 00001"), "UMレコードのキーが正しくありません"},
    };
    for (const auto& c : cases) {
        Fixture f;
        ASSERT_TRUE(f.import(c.records + "\r\n")) << c.reason;
        EXPECT_EQ(f.summary.rejected.empty() ? "" : f.summary.rejected.back().reason, c.reason);
    }
}

// Entry names as the archive stores them (CP932 in LZH and unflagged zip,
// UTF-8 in flagged zip and tar) name every file, whatever the locale.
TEST(JvDataImport, ArchivesNameTheirEntries) {
    const std::string records = jvdFramed(jvdRecord(race()));
    const std::string dat = "データ.dat", utf8Dat = cp932ToUtf8(dat);
    std::vector<StoredFile> many(300, {"a.txt", "text\r\n"});
    many.push_back({"b.dat", records});
    const struct {
        const char* name;
        std::string bytes;
        const char* files;
    } cases[] = {
        {"x.lzh", lzhStoredEntry("説明.txt", "text\r\n") + lzhStoredEntry(dat, records) + '\0',
         "x.lzh:説明.txt- x.lzh:データ.dat+"},
        {"x.zip", zipArchive({{utf8Dat, records}}, true), "x.zip:データ.dat+"},
        {"y.zip", zipArchive({{dat, records}}, false), "y.zip:データ.dat+"},
        {"x.tar", tarArchive({{utf8Dat, records}}), "x.tar:データ.dat+"},
        {"many.zip", zipArchive(many, false), "301"},
    };
    for (const auto& c : cases) {
        Fixture f;
        ASSERT_TRUE(f.import(c.bytes, c.name)) << c.name;
        std::string files;
        for (const ImportedFile& file : f.summary.files)
            files += (files.empty() ? "" : " ") +
                     std::filesystem::path(file.file).filename().string() +
                     (file.jvData ? "+" : "-");
        EXPECT_EQ(f.summary.files.size() > 3 ? std::to_string(f.summary.files.size()) : files,
                  c.files);
    }
}

} // namespace
} // namespace zelkor
