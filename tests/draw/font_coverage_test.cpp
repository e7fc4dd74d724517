// Every character the lab writes must come from the face that "宋体" maps to, never from a
// fallback face and never as an empty box.

#include <QDirIterator>
#include <QFile>
#include <QFontDatabase>
#include <QRawFont>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include "draw/fonts.h"

using namespace vlab;

namespace {

// The characters beyond ASCII of the lab's texts: captions, titles, labels, read-outs, messages.
const char16_t kLabTextCharacters[] =
    u"°±×θλ√《》三上下两个中为之二产亮介位体作你倒值兀光内分初别力加动卧原反受变叠右同向吗四场块型大始宋定实"
    u"室小"
    u"左差布带常干平应度开张弹心总感执拉拟换接推摩操擦改教数斜方明暗横正水法波流涉源滑点牛物狭理生用电的直相"
    u"确磁"
    u"离积移程立第等紫红纹线绳缝能荷蓝虚行要角触设说负质距转轮较速重量间面顿颠验";

QRawFont SongFace(int pixelSize) {
    QFont font(kSongFace);
    font.setPixelSize(pixelSize);
    return QRawFont::fromFont(font);
}

// Every character inside a double-quoted literal of the program's sources.
QSet<char32_t> charactersInSourceLiterals() {
    QSet<char32_t> found;
    static const QRegularExpression literal(QStringLiteral("\"((?:[^\"\\\\\\n]|\\\\.)*)\""));
    QDirIterator it(QStringLiteral(VLAB_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = literal.globalMatch(text); m.hasNext();) {
            for (char32_t c : m.next().captured(1).toUcs4())
                if (c > 0x7F) found.insert(c);
        }
    }
    return found;
}

}  // namespace

class FontCoverageTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }

    void songMapsToTheInstalledFace() {
        QVERIFY2(QFontDatabase::families().contains(kSongFamily),
                 "the Song-style face is not installed (Debian package fonts-arphic-uming)");
        const QRawFont raw = SongFace(16);
        QVERIFY(raw.isValid());
        QCOMPARE(raw.familyName().toLower(), kSongFamily.toLower());
    }

    void coversTheLabsTexts() {
        const QRawFont raw = SongFace(16);
        QString missing;
        for (char32_t c : QString::fromUtf16(kLabTextCharacters).toUcs4())
            if (!raw.supportsCharacter(c)) missing += QString::fromUcs4(&c, 1);
        for (char32_t c = 0x20; c < 0x7F; ++c)
            if (!raw.supportsCharacter(c)) missing += QChar(c);
        QVERIFY2(missing.isEmpty(), qPrintable("not in the face: " + missing));
    }

    void coversEveryLiteralOfTheSources() {
        const QRawFont raw = SongFace(16);
        const QSet<char32_t> chars = charactersInSourceLiterals();
        QVERIFY(chars.size() > 50);  // the sources were found and read
        QString missing;
        for (char32_t c : chars)
            if (!raw.supportsCharacter(c)) missing += QString::fromUcs4(&c, 1);
        QVERIFY2(missing.isEmpty(), qPrintable("not in the face: " + missing));
    }
};

QTEST_MAIN(FontCoverageTest)
#include "font_coverage_test.moc"
