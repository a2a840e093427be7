#include <QBuffer>
#include <gtest/gtest.h>

#include "foundations/PomiarCol.h"

namespace {

QByteArray save(const auto& c) {
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    c.SaveToStream(b);
    return b.data();
}

template <class C>
void load(C& c, const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer b(&copy);
    b.open(QIODevice::ReadOnly);
    c.LoadFromStream(b);
}

}  // namespace

TEST(PomiarCol, EmptyPunktIsFourZeroBytes) {
    TPunkt p;
    EXPECT_EQ(save(p), QByteArray(4, '\0'));
    TPunkt q;
    load(q, save(p));
    EXPECT_EQ(q.Count(), 0);
}

TEST(PomiarCol, PunktBytesAreLittleEndianDoubles) {
    TPunkt p;
    auto& it = p.Add();
    it.Dystans = 1.0;
    it.Xa = -2.0;
    it.Xr = 0.5;
    const QByteArray expected = QByteArray::fromHex(
        "01000000"
        "000000000000f03f"
        "00000000000000c0"
        "000000000000e03f");
    EXPECT_EQ(save(p), expected);
}

TEST(PomiarCol, CyklOfThreeAndZeroPointsIs84Bytes) {
    TCykl c;
    auto& c0 = c.Add();
    for (int i = 0; i < 3; ++i) c0.Punkt.Add().Xa = i + 0.25;
    c.Add();
    const QByteArray bytes = save(c);
    EXPECT_EQ(bytes.size(), 84);
    TCykl back;
    load(back, bytes);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back[0].Punkt.Count(), 3);
    EXPECT_EQ(back[0].Punkt[2].Xa, 2.25);
    EXPECT_EQ(back[1].Punkt.Count(), 0);
}

TEST(PomiarCol, LoadingTwiceAppends) {
    TVelValue v;
    v.Add().Value = 3.5;
    const QByteArray bytes = save(v);
    TVelValue w;
    load(w, bytes);
    load(w, bytes);
    ASSERT_EQ(w.Count(), 2);
    EXPECT_EQ(w[1].Value, 3.5);
}

TEST(PomiarCol, TruncatedStreamKeepsWholeItemsAndThrows) {
    TPunkt p;
    for (int i = 0; i < 3; ++i) p.Add().Dystans = i;
    QByteArray bytes = save(p);
    bytes.chop(30);  // 4 + 72 - 30 = 46 bytes: one whole point and part of the second
    TPunkt q;
    EXPECT_THROW(load(q, bytes), foundations::StreamReadError);
    EXPECT_EQ(q.Count(), 1);
}

TEST(PomiarCol, DamagedCountIsALoadError) {
    const char* cases[] = {
        "ffffff7f",  // 2^31-1 points announced, none there: nothing set aside for them
        "ffffffff",  // -1
        "00000080",  // -2^31
    };
    for (const char* hex : cases) {
        TPunkt q;
        EXPECT_THROW(load(q, QByteArray::fromHex(hex)), foundations::StreamReadError) << hex;
        EXPECT_EQ(q.Count(), 0) << hex;
    }
    // A negative count of an inner list damages the whole cycle stream.
    TCykl c;
    EXPECT_THROW(load(c, QByteArray::fromHex("01000000feffffff")), foundations::StreamReadError);
}

TEST(PomiarCol, InsertSortedCases) {
    struct Case {
        std::vector<double> before;
        double value;
        bool inserted;
        int index;
        std::vector<double> after;
    };
    const Case cases[] = {
        {{}, 4.0, true, 0, {4.0}},
        {{1.0, 3.0, 7.0}, 5.0, true, 2, {1.0, 3.0, 5.0, 7.0}},
        {{3.0}, 3.0000005, false, 0, {3.0}},
        {{3.0}, 3.000002, true, 1, {3.0, 3.000002}},
        {{1.0, 3.0, 7.0}, 0.5, true, 0, {0.5, 1.0, 3.0, 7.0}},
        {{1.0, 3.0, 7.0}, 9.0, true, 3, {1.0, 3.0, 7.0, 9.0}},
    };
    for (const auto& c : cases) {
        TPunkt p;
        for (double d : c.before) p.Add().Dystans = d;
        int idx = -1;
        EXPECT_EQ(p.InsertSorted(idx, c.value), c.inserted) << c.value;
        EXPECT_EQ(idx, c.index) << c.value;
        ASSERT_EQ(p.Count(), static_cast<int>(c.after.size()));
        for (int i = 0; i < p.Count(); ++i) EXPECT_EQ(p[i].Dystans, c.after[i]);
    }
}

TEST(PomiarCol, AllThirdValuesZero) {
    TPunkt p;
    EXPECT_TRUE(p.AllThirdValuesZero());
    p.Add().Xr = -0.0;
    EXPECT_TRUE(p.AllThirdValuesZero());
    p.Add().Xr = 1e-300;
    EXPECT_FALSE(p.AllThirdValuesZero());
}

TEST(PomiarCol, AssignCopiesDeeply) {
    TCykl a;
    a.Add().Punkt.Add().Xa = 7.0;
    TCykl b;
    b.Add();
    b.Add();
    b.Assign(a);
    ASSERT_EQ(b.Count(), 1);
    a[0].Punkt[0].Xa = 1.0;
    EXPECT_EQ(b[0].Punkt[0].Xa, 7.0);
    EXPECT_THROW(b.GetItem(1), std::out_of_range);
}

namespace {

QByteArray saveToBytes(const auto& c) {
    QByteArray bytes;
    foundations::ByteWriter w(bytes);
    c.SaveToBytes(w);
    w.flush();
    return bytes;
}

// What a load left: the items read (as their bytes) and whether it threw.
template <class C>
std::pair<QByteArray, bool> outcome(const QByteArray& bytes, bool fromMemory) {
    C c;
    bool threw = false;
    try {
        if (fromMemory) {
            foundations::ByteReader r(bytes);
            c.LoadFromBytes(r);
        } else {
            load(c, bytes);
        }
    } catch (const foundations::StreamReadError&) {
        threw = true;
    }
    return {save(c), threw};
}

}  // namespace

// The decoder of a file read whole into memory writes the same bytes as the stream writer and
// is exactly as strict as the stream reader: for every cut of a good stream and for damaged
// counts it keeps the same items and fails alike.
TEST(PomiarCol, MemoryDecoderMatchesTheStreamReader) {
    TCykl cycles;
    for (int c = 0; c < 3; ++c) {
        TPunkt& p = cycles.Add().Punkt;
        for (int k = 0; k < c + 1; ++k) {
            TPunktItem& it = p.Add();
            it.Dystans = k;
            it.Xa = 0.5 * c - k;
            it.Xr = -1.25 * k;
        }
    }
    const QByteArray good = save(cycles);
    ASSERT_EQ(saveToBytes(cycles), good);
    for (qsizetype cut = 0; cut <= good.size(); ++cut) {
        SCOPED_TRACE(cut);
        EXPECT_EQ((outcome<TCykl>(good.left(cut), true)), (outcome<TCykl>(good.left(cut), false)));
    }
    TVelValue v;
    v.Add().Value = -3.5;
    v.Add().Value = 1e300;
    ASSERT_EQ(saveToBytes(v), save(v));
    for (const char* hex : {"ffffff7f", "ffffffff", "00000080", "0200000000000000000000c0", "01000000feffffff",
                            "0300000001000000"}) {
        SCOPED_TRACE(hex);
        const QByteArray bytes = QByteArray::fromHex(hex);
        EXPECT_EQ((outcome<TCykl>(bytes, true)), (outcome<TCykl>(bytes, false)));
        EXPECT_EQ((outcome<TPunkt>(bytes, true)), (outcome<TPunkt>(bytes, false)));
        EXPECT_EQ((outcome<TVelValue>(bytes, true)), (outcome<TVelValue>(bytes, false)));
    }
}

TEST(PomiarCol, ResizeKeepsTheFirstItems) {
    TPunkt p;
    for (int i = 0; i < 3; ++i) p.Add().Xa = i;
    const TPunktItem* first = &p[0];
    p.Resize(5);
    ASSERT_EQ(p.Count(), 5);
    EXPECT_EQ(&p[0], first);
    EXPECT_EQ(p[2].Xa, 2.0);
    EXPECT_EQ(p[4].Xa, 0.0);
    p.Resize(1);
    ASSERT_EQ(p.Count(), 1);
    EXPECT_EQ(&p[0], first);
    p.Resize(-1);
    EXPECT_EQ(p.Count(), 0);
}
