#include "platform/files/masked_media.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace ziro {
namespace {

using Helper = std::function<MaskOutcome(const QString&)>;

// A body that is not all zeros, so a shifted or truncated write shows.
QByteArray body()
{
    QByteArray b;
    for (int i = 0; i < 300; ++i)
        b.append(char(i * 7 + 3));
    return b;
}

class MaskedMedia : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(m_sub + name); }
    void write(const QString& name, const QByteArray& data) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(data), data.size());
    }
    QByteArray read(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList entries() const
    {
        return QDir(m_dir.filePath(m_sub)).entryList(QDir::Files, QDir::Name);
    }
    // A fresh folder for the next case.
    void nextFolder()
    {
        m_sub = QStringLiteral("c%1/").arg(++m_cases);
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(m_sub));
    }

    QTemporaryDir m_dir;
    QString m_sub;
    int m_cases = 0;
};

TEST_F(MaskedMedia, RestoreThenMaskGivesBackTheSameFile)
{
    struct Case {
        const char* masked;
        const char* restored;
        QByteArray maskHead, restoreHead;
        Helper restore, mask;
    };
    const Case cases[] = {
        {"Flm1.KXV", "Flm1.MPG", "KXV#", QByteArray("\x00\x00\x01\xBA", 4), SmascheraMedia, MascheraMedia},
        {"Crs619.KXA", "Crs619.AVI", "KXA#", "RIFF", SmascheraMedia, MascheraMedia},
        {"Flm2.KXS", "Flm2.MP4", "KXS", QByteArray("\x00\x00\x00", 3), SmascheraMP4, MascheraMP4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.masked);
        const QByteArray masked = c.maskHead + body();
        write(QString::fromLatin1(c.masked), masked);

        const MaskOutcome restored = c.restore(path(QString::fromLatin1(c.masked)));
        ASSERT_TRUE(restored.ok) << restored.context.toStdString();
        EXPECT_EQ(restored.path, path(QString::fromLatin1(c.restored)));
        EXPECT_EQ(entries(), QStringList{QString::fromLatin1(c.restored)});
        // Only the leading bytes differ; the length is kept.
        EXPECT_EQ(read(QString::fromLatin1(c.restored)), c.restoreHead + body());

        const MaskOutcome again = c.mask(restored.path);
        ASSERT_TRUE(again.ok) << again.context.toStdString();
        EXPECT_EQ(entries(), QStringList{QString::fromLatin1(c.masked)});
        EXPECT_EQ(read(QString::fromLatin1(c.masked)), masked);
        QFile::remove(path(QString::fromLatin1(c.masked)));
    }
}

TEST_F(MaskedMedia, RefusalsLeaveEveryFileAsItWas)
{
    const QByteArray mpg = QByteArray("\x00\x00\x01\xBA", 4) + body();
    struct Case {
        const char* label;
        Helper helper;
        const char* file;
        QByteArray content;  // empty: the file does not exist
        const char* other;   // a file already under the other name, or null
        const char* context;
        const char* named;   // the file the report names
    };
    const Case cases[] = {
        // The extension of a missing file was never read.
        {"missing KXV", SmascheraMedia, "Flm1.KXV", {}, nullptr, "KX: -> Conv:", "Flm1.KXV"},
        {"missing MPG", MascheraMedia, "Flm1.MPG", {}, nullptr, "KX: -> Conv:", "Flm1.MPG"},
        {"missing KXS", SmascheraMP4, "Flm1.KXS", {}, nullptr, "KX: KXS -> Conv:", "Flm1.KXS"},
        {"missing MP4", MascheraMP4, "Flm1.MP4", {}, nullptr, "KX: MP4 -> Conv:", "Flm1.MP4"},
        // Headers that masking would destroy for good.
        {"transport stream", MascheraMedia, "Flm1.MPG", QByteArray("\x47\x40\x00\x10", 4) + body(),
         nullptr, "KX: .MPG-> Conv:", "Flm1.MPG"},
        {"elementary stream", MascheraMedia, "Flm1.MPG", QByteArray("\x00\x00\x01\xB3", 4) + body(),
         nullptr, "KX: .MPG-> Conv:", "Flm1.MPG"},
        {"large first box", MascheraMP4, "Flm1.MP4", QByteArray("\x00\x00\x01\x20", 4) + body(),
         nullptr, "KX: MP4 -> Conv:", "Flm1.MP4"},
        {"not masked", SmascheraMedia, "Flm1.KXV", mpg, nullptr, "KX: .KXV-> Conv:", "Flm1.KXV"},
        {"too short", SmascheraMedia, "Flm1.KXV", "KX", nullptr, "KX: .KXV-> Conv:", "Flm1.KXV"},
        // Names of another kind.
        {"MP4 to the MPEG helper", SmascheraMedia, "Flm1.MP4", QByteArray(3, '\0') + body(), nullptr,
         "KX: .MP4-> Conv:", "Flm1.MP4"},
        {"KXV to the MP4 helper", SmascheraMP4, "Flm1.KXV", "KXV#" + body(), nullptr,
         "KX: KXS -> Conv:", "Flm1.KXV"},
        {"unknown kind", MascheraMedia, "Flm1.TXT", mpg, nullptr, "KX: .TXT-> Conv:", "Flm1.TXT"},
        // Never renamed over an existing file, in any letter case.
        {"stale MPG", SmascheraMedia, "Flm1.KXV", "KXV#" + body(), "Flm1.MPG", "KX: .KXV-> Conv:",
         "Flm1.MPG"},
        {"stale lower-case mp4", SmascheraMP4, "Flm1.KXS", "KXS" + body(), "flm1.mp4",
         "KX: KXS -> Conv:", "Flm1.MP4"},
        {"masked twin", MascheraMedia, "Flm1.AVI", "RIFF" + body(), "Flm1.KXA", "KX: .AVI-> Conv:",
         "Flm1.KXA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        nextFolder();
        const QString file = QString::fromLatin1(c.file);
        if (!c.content.isEmpty())
            write(file, c.content);
        const QByteArray otherContent = "keep me";
        if (c.other)
            write(QString::fromLatin1(c.other), otherContent);
        const QStringList before = entries();

        const MaskOutcome o = c.helper(path(file));
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.context, QString::fromLatin1(c.context));
        EXPECT_EQ(o.name, path(QString::fromLatin1(c.named)));
        EXPECT_EQ(entries(), before);
        if (!c.content.isEmpty()) {
            EXPECT_EQ(read(file), c.content);
        }
        if (c.other) {
            EXPECT_EQ(read(QString::fromLatin1(c.other)), otherContent);
        }
    }
}

}  // namespace
}  // namespace ziro
