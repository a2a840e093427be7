#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "evaluation/MeasurementFiles.h"
#include "evaluation/MeasurementFilesDocument.h"
#include "evaluation/PointLists.h"
#include "evaluation/TextImport.h"
#include "foundations/SharedGlobals.h"
#include "support/FifoFile.h"

namespace {

// Little-endian body builder for the expected bytes.
struct Bytes {
    QByteArray b;
    Bytes& i32(int32_t v) {
        unsigned char p[4];
        foundations::putInt32LE(p, v);
        b.append(reinterpret_cast<char*>(p), 4);
        return *this;
    }
    Bytes& f64(double v) {
        unsigned char p[8];
        foundations::putDoubleLE(p, v);
        b.append(reinterpret_cast<char*>(p), 8);
        return *this;
    }
    Bytes& u8(uint8_t v) {
        b.append(char(v));
        return *this;
    }
    Bytes& raw(const QByteArray& r) {
        b.append(r);
        return *this;
    }
};

TMeasurementHeader header(const QString& machine = "VMC 800") {
    TMeasurementHeader h;
    h.MachineType = machine;
    h.SerialNumber = "12/34";
    h.Axis = "X";
    return h;
}

void addPoint(TPunkt& p, double d, double a, double r) {
    auto& it = p.Add();
    it.Dystans = d;
    it.Xa = a;
    it.Xr = r;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Two cycles: {(0, 1.5, -2), (100, 2.5, 0.25)} and {(0, -1, 3)}.
TCykl twoCycles() {
    TCykl c;
    addPoint(c.Add().Punkt, 0, 1.5, -2);
    addPoint(c[0].Punkt, 100, 2.5, 0.25);
    addPoint(c.Add().Punkt, 0, -1, 3);
    return c;
}
QByteArray twoCyclesBytes() {
    return Bytes().i32(2).i32(2).f64(0).f64(1.5).f64(-2).f64(100).f64(2.5).f64(0.25)
        .i32(1).f64(0).f64(-1).f64(3).b;
}

bool sameCycles(const TCykl& a, const TCykl& b) {
    if (a.Count() != b.Count()) return false;
    for (int i = 0; i < a.Count(); ++i) {
        if (a[i].Punkt.Count() != b[i].Punkt.Count()) return false;
        for (int k = 0; k < a[i].Punkt.Count(); ++k) {
            const auto& x = a[i].Punkt[k];
            const auto& y = b[i].Punkt[k];
            if (x.Dystans != y.Dystans || x.Xa != y.Xa || x.Xr != y.Xr) return false;
        }
    }
    return true;
}

class MeasurementFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

}  // namespace

TEST_F(MeasurementFilesTest, EveryTypeIsWrittenByteExactAndReadBack) {
    const TMeasurementHeader h = header();
    const QByteArray hb = h.toBytes();

    // positioning
    SavePositioningFile(path("a.dt2"), h, twoCycles());
    EXPECT_EQ(readFile(path("a.dt2")), hb + twoCyclesBytes());
    TCykl cycles;
    TMeasurementHeader got;
    LoadPositioningFile(cycles, path("a.dt2"), &got);
    EXPECT_TRUE(sameCycles(cycles, twoCycles()));
    EXPECT_EQ(got, h);

    // velocity
    TVelValue vel;
    vel.Add().Value = 12.5;
    vel.Add().Value = -0.125;
    SaveVelocityFile(path("a.dt3"), h, vel);
    EXPECT_EQ(readFile(path("a.dt3")), hb + Bytes().i32(2).f64(12.5).f64(-0.125).b);
    TVelValue vel2;
    got = {};
    LoadVelocityFile(path("a.dt3"), vel2, got);
    ASSERT_EQ(vel2.Count(), 2);
    EXPECT_EQ(vel2[1].Value, -0.125);
    EXPECT_EQ(got, h);

    // straightness and angular
    TPunkt pts;
    addPoint(pts, 0, 0.5, -0.5);
    addPoint(pts, 10, 1, 2);
    SavePointSeriesFile(path("a.dt4"), h, pts);
    EXPECT_EQ(readFile(path("a.dt4")),
              hb + Bytes().i32(2).f64(0).f64(0.5).f64(-0.5).f64(10).f64(1).f64(2).b);
    TPunkt pts2;
    LoadPointSeriesFile(path("a.dt4"), pts2, nullptr);
    ASSERT_EQ(pts2.Count(), 2);
    EXPECT_EQ(pts2[1].Xr, 2);

    // flatness: method, H, V at 646, 647, 651, stream at 655
    TCykl lines = twoCycles();
    SaveFlatnessFile(path("a.dt5"), h, lines, 4, 5, 1);
    const QByteArray flat = readFile(path("a.dt5"));
    EXPECT_EQ(flat, hb + Bytes().u8(1).i32(4).i32(5).raw(twoCyclesBytes()).b);
    TCykl lines2;
    int32_t hl = 0, vl = 0;
    uint8_t method = 0;
    LoadFlatnessFile(lines2, path("a.dt5"), hl, method, vl, got);
    EXPECT_EQ(method, 1);
    EXPECT_EQ(hl, 4);
    EXPECT_EQ(vl, 5);
    ASSERT_EQ(lines2.Count(), 16);  // filled up with empty lines
    EXPECT_EQ(lines2[0].Punkt.Count(), 2);
    EXPECT_EQ(lines2[1].Punkt.Count(), 1);
    for (int i = 2; i < 16; ++i) EXPECT_EQ(lines2[i].Punkt.Count(), 0);

    // vibration: the 32768 bytes as they are
    QByteArray fft(kFftSampleBytes, '\0');
    for (int i = 0; i < fft.size(); ++i) fft[i] = char(i * 7);
    SaveFftFile(path("a.dt7"), h, fft);
    EXPECT_EQ(readFile(path("a.dt7")), hb + fft);
    QByteArray fft2;
    LoadFftFile(path("a.dt7"), fft2, got);
    EXPECT_EQ(fft2, fft);
    EXPECT_THROW(SaveFftFile(path("b.dt7"), h, fft.left(100)), std::invalid_argument);
}

TEST_F(MeasurementFilesTest, VibrationFileLengths) {
    const QByteArray hb = header().toBytes();
    QByteArray fft(kFftSampleBytes, 'a');
    writeFile(path("long.dt7"), hb + fft + "extra");
    writeFile(path("short.dt7"), hb + fft.left(kFftSampleBytes - 1));
    QByteArray samples(kFftSampleBytes, 'z');
    TMeasurementHeader h;
    LoadFftFile(path("long.dt7"), samples, h);
    EXPECT_EQ(samples, fft);
    samples.fill('z');
    h = {};
    EXPECT_ANY_THROW(LoadFftFile(path("short.dt7"), samples, h));
    EXPECT_EQ(samples, QByteArray(kFftSampleBytes, 'z'));
    EXPECT_EQ(h, TMeasurementHeader{});
}

TEST_F(MeasurementFilesTest, HeaderIsAppliedOnlyWhenAsked) {
    SavePositioningFile(path("a.dt2"), header("OTHER"), twoCycles());
    TMeasurementHeader mine = header("MINE");
    TCykl c;
    LoadPositioningFile(c, path("a.dt2"), nullptr);
    EXPECT_EQ(c.Count(), 2);
    EXPECT_EQ(mine.MachineType, "MINE");
}

// Bad files: the target and header stay as they were.
TEST_F(MeasurementFilesTest, BadFilesChangeNothing) {
    const QByteArray hb = header("NEW").toBytes();
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"missing", QByteArray()},
        {"header cut", hb.left(600)},
        {"body cut", hb + twoCyclesBytes().chopped(3)},
        {"huge count", hb + Bytes().i32(0x7fffffff).i32(1).f64(1).f64(2).f64(3).b},
        {"huge point count", hb + Bytes().i32(1).i32(0x40000000).f64(1).b},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString p = path(QString("bad_%1.dt2").arg(c.name));
        if (QByteArray(c.name) != "missing") writeFile(p, c.bytes);
        TCykl cycles = twoCycles();
        addPoint(cycles.Add().Punkt, 5, 5, 5);
        TMeasurementHeader h = header("OLD");
        EXPECT_ANY_THROW(LoadPositioningFile(cycles, p, &h));
        EXPECT_EQ(cycles.Count(), 3);
        EXPECT_EQ(h.MachineType, "OLD");
    }
}

TEST_F(MeasurementFilesTest, FlatnessFilesWithBadCountsAreRefused) {
    const QByteArray hb = header().toBytes();
    struct Case {
        const char* name;
        QByteArray body;
    };
    const Case cases[] = {
        {"h 2", Bytes().u8(1).i32(2).i32(5).i32(0).b},
        {"v 9", Bytes().u8(1).i32(3).i32(9).i32(0).b},
        {"h negative", Bytes().u8(0).i32(-1).i32(3).i32(0).b},
        {"17 lines", Bytes().u8(0).i32(8).i32(8).i32(17).b},
        {"negative lines", Bytes().u8(0).i32(8).i32(8).i32(-1).b},
        {"cut layout", Bytes().u8(0).i32(8).b},
        {"cut line", Bytes().u8(0).i32(8).i32(8).i32(2).i32(1).f64(1).b},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(path("bad.dt5"), hb + c.body);
        TCykl lines = twoCycles();
        int32_t hl = 6, vl = 7;
        uint8_t method = 1;
        TMeasurementHeader h = header("OLD");
        EXPECT_ANY_THROW(LoadFlatnessFile(lines, path("bad.dt5"), hl, method, vl, h));
        EXPECT_EQ(lines.Count(), 2);
        EXPECT_EQ(hl, 6);
        EXPECT_EQ(vl, 7);
        EXPECT_EQ(method, 1);
        EXPECT_EQ(h.MachineType, "OLD");
    }
    // 16 lines and the range ends are fine
    Bytes ok;
    ok.u8(0).i32(3).i32(8).i32(16);
    for (int i = 0; i < 16; ++i) ok.i32(0);
    writeFile(path("ok.dt5"), hb + ok.b);
    TCykl lines;
    int32_t hl = 0, vl = 0;
    uint8_t method = 9;
    TMeasurementHeader h;
    LoadFlatnessFile(lines, path("ok.dt5"), hl, method, vl, h);
    EXPECT_EQ(lines.Count(), 16);
    EXPECT_EQ(method, 0);
}

TEST_F(MeasurementFilesTest, FailedOpenTakesTheFailurePathOfEachType) {
    writeFile(path("bad"), QByteArray(10, 'x'));
    MeasurementData d;
    d.PositioningCycles = twoCycles();
    d.VelocitySamples.Add().Value = 1;
    addPoint(d.StraightnessPoints, 1, 1, 1);
    addPoint(d.AngularPoints, 2, 2, 2);
    d.FlatnessLines = twoCycles();
    d.FlatnessHLines = 12;
    d.FlatnessVLines = 1;
    d.FftSamples[0] = 'q';
    d.Header = header("KEEP");
    for (int mode = 0; mode < 6; ++mode) {
        const auto err = LoadMeasurementFile(d, path("bad"), mode);
        ASSERT_TRUE(err.has_value());
        EXPECT_EQ(*err, QString::fromUtf8("Nie można otworzyć pliku %1").arg(path("bad")));
    }
    EXPECT_EQ(d.PositioningCycles.Count(), 0);
    EXPECT_EQ(d.VelocitySamples.Count(), 1);
    EXPECT_EQ(d.StraightnessPoints.Count(), 0);
    EXPECT_EQ(d.AngularPoints.Count(), 1);
    EXPECT_EQ(d.FftSamples[0], 'q');
    EXPECT_EQ(d.FlatnessHLines, 8);
    EXPECT_EQ(d.FlatnessVLines, 3);
    ASSERT_EQ(d.FlatnessLines.Count(), 16);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(d.FlatnessLines[i].Punkt.Count(), 0);
    EXPECT_EQ(d.Header.MachineType, "KEEP");
}

TEST_F(MeasurementFilesTest, MoreCyclesOrPointsThanARunMakesAreRefused) {
    const QByteArray hb = header("NEW").toBytes();
    auto cycles = [](int count, int points) {
        TCykl c;
        for (int k = 0; k < count; ++k) {
            TPunkt& p = c.Add().Punkt;
            for (int j = 0; j < points; ++j) addPoint(p, j, k, -j);
        }
        return c;
    };
    // The largest run loads whole, whatever its size on disk.
    const TCykl largest = cycles(kMaxRunCycles, kMaxRunPoints);
    SavePositioningFile(path("largest.dt2"), header(), largest);
    EXPECT_EQ(QFile(path("largest.dt2")).size(), kMaxPositioningFileBytes);
    TCykl back;
    LoadPositioningFile(back, path("largest.dt2"), nullptr);
    EXPECT_TRUE(sameCycles(back, largest));

    // A file of 8,000,000 points in one cycle claims as much in its first count; one beyond the
    // size of the largest run is refused before it is read.
    QByteArray sparse = hb + Bytes().i32(1).i32(8000000).b;
    sparse.resize(kMaxPositioningFileBytes + 1);
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    Bytes over;
    over.i32(1).i32(kMaxRunPoints + 1);
    for (int j = 0; j <= kMaxRunPoints; ++j) over.f64(j).f64(0).f64(0);
    Bytes tooManyCycles;
    tooManyCycles.i32(kMaxRunCycles + 1);
    for (int k = 0; k <= kMaxRunCycles; ++k) tooManyCycles.i32(0);
    const Case cases[] = {
        {"257 points", hb + over.b},
        {"256 cycles", hb + tooManyCycles.b},
        {"8,000,000 points claimed", hb + Bytes().i32(1).i32(8000000).f64(1).f64(2).f64(3).b},
        {"larger than the largest run", sparse},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(path("big.dt2"), c.bytes);
        TCykl kept = twoCycles();
        TMeasurementHeader h = header("OLD");
        EXPECT_THROW(LoadPositioningFile(kept, path("big.dt2"), &h), MeasurementFileTooLarge);
        EXPECT_TRUE(sameCycles(kept, twoCycles()));
        EXPECT_EQ(h.MachineType, "OLD");
    }

    // Angular runs: a point list's points at most.
    TPunkt angles;
    for (int j = 0; j < kMaxRunPoints; ++j) addPoint(angles, j, 0, 0);
    SavePointSeriesFile(path("a.dt6"), header(), angles);
    TPunkt anglesBack;
    LoadAngularFile(path("a.dt6"), anglesBack, nullptr);
    EXPECT_EQ(anglesBack.Count(), kMaxRunPoints);
    addPoint(angles, 999, 0, 0);
    SavePointSeriesFile(path("a.dt6"), header(), angles);
    EXPECT_THROW(LoadAngularFile(path("a.dt6"), anglesBack, nullptr), MeasurementFileTooLarge);
    EXPECT_EQ(anglesBack.Count(), kMaxRunPoints);

    // The window's open says why, after the usual line.
    MeasurementData d;
    const auto err = LoadMeasurementFile(d, path("a.dt6"), mfAngular);
    ASSERT_TRUE(err.has_value());
    EXPECT_EQ(*err, QString::fromUtf8("Nie można otworzyć pliku %1\nPlik zawiera więcej, niż może zmierzyć program: "
                                      "najwyżej 255 cykli po 256 punktów.").arg(path("a.dt6")));
}

TEST_F(MeasurementFilesTest, AFifoIsRefusedLikeAFileThatCannotBeOpened) {
    testsupport::FifoFile fifo(path("fifo"));
    ASSERT_TRUE(fifo.Made());
    const QString cannotOpen = QString::fromUtf8("Nie można otworzyć pliku %1").arg(path("fifo"));
    MeasurementData d;
    for (int mode = 0; mode < 6; ++mode) EXPECT_EQ(LoadMeasurementFile(d, path("fifo"), mode), cannotOpen) << mode;
    TPunkt list;
    try {
        LoadPointList(list, path("fifo"));
        ADD_FAILURE() << "a fifo read as a point list";
    } catch (const MeasurementFileError& e) {
        EXPECT_EQ(e.message(), cannotOpen);
    }
    TMeasurementHeader h;
    TCykl cycles;
    EXPECT_TRUE(ImportMeasurementText(path("fifo"), cycles, h).has_value());
    EXPECT_ANY_THROW(ImportTextReadings(path("fifo"), list, h));
    EXPECT_TRUE(LoadFlatnessText(path("fifo"), cycles, h).has_value());
    EXPECT_FALSE(fifo.Unblocked()) << "a reader waited in the fifo";
}

TEST_F(MeasurementFilesTest, SaveReplacesOnlyWhenWritten) {
    SavePositioningFile(path("a.dt2"), header(), twoCycles());
    const QByteArray before = readFile(path("a.dt2"));
    // A folder that does not exist: an error with a message, and no file appears.
    try {
        SavePositioningFile(path("nodir/a.dt2"), header(), twoCycles());
        FAIL() << "no error";
    } catch (const MeasurementFileError& e) {
        EXPECT_FALSE(e.message().isEmpty());
    }
    EXPECT_FALSE(QFile::exists(path("nodir/a.dt2")));
    EXPECT_EQ(readFile(path("a.dt2")), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.dt2"});  // no leftovers
}

TEST_F(MeasurementFilesTest, BackupCopies) {
    const QString d = dir.path();
    EXPECT_EQ(BackupFileName(d + "/", 0), d + "/KopiaZapasowa.dt2");
    EXPECT_EQ(BackupFileName(d, 3), d + "/KopiaZapasowa.dt5");
    SavePositioningBackup(d, header(), twoCycles());
    SaveFlatnessBackup(d, header(), twoCycles(), 3, 4, 0);
    SaveFlatnessBackup(d, header(), TCykl(), 5, 4, 1);  // replaced at every write
    EXPECT_EQ(readFile(path("KopiaZapasowa.dt2")), header().toBytes() + twoCyclesBytes());
    EXPECT_EQ(readFile(path("KopiaZapasowa.dt5")),
              header().toBytes() + Bytes().u8(1).i32(5).i32(4).i32(0).b);
}

TEST(MeasurementFileNames, RemoveExtSanitizeAndProposal) {
    const std::pair<const char*, const char*> removeCases[] = {
        {"run1.dt2", "run1"},
        {"/data/run.1/x", "/data/run.1/x"},
        {"/data/a.b.dt4", "/data/a.b"},
        {"noext", "noext"},
        {"trail.", "trail"},
    };
    for (auto [in, out] : removeCases) EXPECT_EQ(RemoveFileExt(in), out) << in;
    EXPECT_EQ(SanitizeFileName(QString::fromUtf8(" \"*./:<>?\\|aŁ\t-")),
              QString::fromUtf8("___________aŁ\t-"));
    EXPECT_EQ(ProposedMeasurementFileName(header()), "VMC_80012_34X");
    TMeasurementHeader h;
    h.MachineType = QString(20, 'M');
    h.SerialNumber = QString(20, 'S');
    h.Axis = "XYZ";
    EXPECT_EQ(ProposedMeasurementFileName(h), QString(20, 'M') + QString(20, 'S') + "XYZ");
}

// The open and save commands with scripted answers.
class DocumentTest : public MeasurementFilesTest {
protected:
    MeasurementData data;
    int askAnswer = 7;
    bool changeInfo = false;
    std::vector<QString> saveAnswers;  // empty text: cancel
    std::vector<FileDialogSettings> saveRequests;
    std::optional<QString> openAnswer;
    FileDialogSettings openRequest;
    QStringList errors, recent;
    int askCount = 0, infoCount = 0, editCount = 0, averageCount = 0;
    std::unique_ptr<MeasurementDocument> doc;

    void SetUp() override {
        ResetSharedGlobals();
        MeasurementDocument::Callbacks cb;
        cb.AskSaveChanges = [this] { ++askCount; return askAnswer; };
        cb.AskChangeMachineInfo = [this] { ++infoCount; return changeInfo; };
        cb.EditHeader = [this](TMeasurementHeader& h) { ++editCount; h.Axis = "Y"; };
        cb.SaveDialog = [this](const FileDialogSettings& s) -> std::optional<QString> {
            saveRequests.push_back(s);
            if (saveAnswers.empty()) return std::nullopt;
            QString a = saveAnswers.front();
            saveAnswers.erase(saveAnswers.begin());
            if (a.isEmpty()) return std::nullopt;
            return a;
        };
        cb.OpenDialog = [this](const FileDialogSettings& s) { openRequest = s; return openAnswer; };
        cb.ShowError = [this](const QString& m) { errors << m; };
        cb.AverageXYCycles = [this] { ++averageCount; };
        cb.AddRecentFile = [this](int mode, const QString& f) { recent << QString("%1:%2").arg(mode).arg(f); };
        doc = std::make_unique<MeasurementDocument>(data, cb);
        doc->Mode = 0;
        for (int i = 0; i < 6; ++i) {
            doc->Dirs[size_t(i)] = dir.path() + "/";
            doc->ModeFilters[size_t(i)] = "Pliki (*%s)|*%s|Wszystkie pliki (*.*)|*.*";
            doc->ModeCaptions[size_t(i)] = QString("VKM30 - %1").arg(i);
        }
        data.Header = header();
        data.PositioningCycles = twoCycles();
        DataSaved = VelocityDataSaved = ExtraDataSaved = FlatnessDataSaved = false;
    }
    void TearDown() override { ResetSharedGlobals(); }
};

TEST_F(DocumentTest, SaveProposesTheHeaderNameAndWrites) {
    saveAnswers = {path("out.dt2")};
    changeInfo = true;
    EXPECT_TRUE(doc->SaveMeasurement(true));
    ASSERT_EQ(saveRequests.size(), 1u);
    EXPECT_EQ(editCount, 1);
    EXPECT_EQ(saveRequests[0].FileName, "VMC_80012_34Y");  // after the header was edited
    EXPECT_EQ(saveRequests[0].DefaultExt, ".dt2");
    EXPECT_EQ(saveRequests[0].Filter, "Pliki (*.dt2)|*.dt2|Wszystkie pliki (*.*)|*.*");
    EXPECT_EQ(saveRequests[0].InitialDir, dir.path() + "/");
    EXPECT_TRUE(DataSaved);
    EXPECT_EQ(doc->Caption, "VKM30 - 0 - out.dt2");
    EXPECT_EQ(recent, QStringList{"0:" + path("out.dt2")});
    EXPECT_EQ(readFile(path("out.dt2")), data.Header.toBytes() + twoCyclesBytes());
}

TEST_F(DocumentTest, CancelledSaveLeavesDataUnsavedAndOpenStays) {
    askAnswer = 6;
    openAnswer = path("never.dt2");
    EXPECT_FALSE(doc->OpenMeasurement());
    EXPECT_EQ(infoCount, 1);  // the full save command with the header question
    EXPECT_EQ(saveRequests.size(), 1u);
    EXPECT_FALSE(DataSaved || VelocityDataSaved || ExtraDataSaved || FlatnessDataSaved);
    EXPECT_TRUE(openRequest.Filter.isEmpty());  // the open dialog never came
    EXPECT_EQ(data.PositioningCycles.Count(), 2);
}

TEST_F(DocumentTest, OpenAfterYesSavesFirstThenLoads) {
    TCykl other;
    addPoint(other.Add().Punkt, 7, 7, 7);
    SavePositioningFile(path("other.dt2"), header("OTHER"), other);
    askAnswer = 6;
    saveAnswers = {path("mine.dt2")};
    openAnswer = path("other.dt2");
    EXPECT_TRUE(doc->OpenMeasurement());
    EXPECT_TRUE(QFile::exists(path("mine.dt2")));
    EXPECT_EQ(openRequest.FilterIndex, 1);
    EXPECT_TRUE(openRequest.FileName.isEmpty());
    EXPECT_EQ(data.PositioningCycles.Count(), 1);
    EXPECT_EQ(data.Header.MachineType, "OTHER");
    EXPECT_EQ(doc->Caption, "VKM30 - 0 - other.dt2");
}

TEST_F(DocumentTest, NoMarksEverythingSavedAndCancelStays) {
    askAnswer = 2;
    EXPECT_FALSE(doc->ConfirmDiscard());
    EXPECT_FALSE(DataSaved);
    askAnswer = 7;
    EXPECT_TRUE(doc->ConfirmDiscard());
    EXPECT_TRUE(DataSaved && VelocityDataSaved && ExtraDataSaved && FlatnessDataSaved);
    EXPECT_TRUE(saveRequests.empty());
}

TEST_F(DocumentTest, SaveErrorShowsTheMessageAndAsksAgainWithLastSettings) {
    saveAnswers = {path("nodir/x.dt2"), path("ok.dt2")};
    EXPECT_TRUE(doc->SaveMeasurement(true));
    EXPECT_EQ(errors.size(), 1);
    ASSERT_EQ(saveRequests.size(), 2u);
    EXPECT_EQ(infoCount, 1);  // not asked again
    EXPECT_EQ(saveRequests[1].FileName, path("nodir/x.dt2"));
    EXPECT_EQ(saveRequests[1].DefaultExt, ".dt2");
    EXPECT_TRUE(QFile::exists(path("ok.dt2")));
}

TEST_F(DocumentTest, PositioningWithStraightnessAlsoWritesTheLine) {
    QDir(dir.path()).mkdir("str");
    QDir(dir.path()).mkdir("any");
    doc->Dirs[2] = path("str");
    doc->PosAndStr = true;
    addPoint(data.StraightnessPoints, 0, 1, 2);
    saveAnswers = {path("any/run1.dt2")};
    EXPECT_TRUE(doc->SaveMeasurement(true));
    EXPECT_EQ(averageCount, 1);
    EXPECT_EQ(readFile(path("str/run1.dt4")),
              data.Header.toBytes() + Bytes().i32(1).f64(0).f64(1).f64(2).b);
    EXPECT_EQ(recent, (QStringList{"2:" + path("str/run1.dt4"), "0:" + path("any/run1.dt2")}));
}

TEST_F(DocumentTest, FailedLoadShowsErrorAndResetsCaption) {
    doc->Mode = 3;
    EXPECT_FALSE(doc->LoadFile(path("missing.dt5")));
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(doc->Caption, "VKM30 - 3");
    EXPECT_EQ(data.FlatnessLines.Count(), 16);
}

TEST_F(MeasurementFilesTest, EveryModeRoundTripsThroughTheBundle) {
    MeasurementData src;
    src.Header = header("ROUND");
    src.PositioningCycles = twoCycles();
    src.VelocitySamples.Add().Value = 3.25;
    addPoint(src.StraightnessPoints, 1, 2, 3);
    addPoint(src.AngularPoints, 15, -4, 4);
    src.FlatnessLines = twoCycles();
    src.FlatnessMethod = 1;
    src.FlatnessHLines = 8;
    src.FlatnessVLines = 3;
    src.FftSamples[100] = '\x7f';
    for (int mode = 0; mode < 6; ++mode) {
        SCOPED_TRACE(mode);
        const QString p = path("m" + MeasurementFileExtension(mode));
        SaveMeasurementBody(src, p, mode);
        MeasurementData got;
        ASSERT_EQ(LoadMeasurementFile(got, p, mode), std::nullopt);
        EXPECT_EQ(got.Header, src.Header);
        switch (mode) {
        case 0: EXPECT_TRUE(sameCycles(got.PositioningCycles, src.PositioningCycles)); break;
        case 1: EXPECT_EQ(got.VelocitySamples[0].Value, 3.25); break;
        case 2: EXPECT_EQ(got.StraightnessPoints[0].Xr, 3); break;
        case 3:
            EXPECT_EQ(got.FlatnessLines.Count(), 16);
            EXPECT_EQ(got.FlatnessLines[1].Punkt[0].Xr, 3);
            EXPECT_EQ(got.FlatnessMethod, 1);
            EXPECT_EQ(got.FlatnessHLines, 8);
            EXPECT_EQ(got.FlatnessVLines, 3);
            break;
        case 4:
            EXPECT_EQ(readFile(p), src.Header.toBytes() + Bytes().i32(1).f64(15).f64(-4).f64(4).b);
            EXPECT_EQ(got.AngularPoints[0].Dystans, 15);
            break;
        case 5: EXPECT_EQ(got.FftSamples, src.FftSamples); break;
        }
    }
}
