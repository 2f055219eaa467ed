// The fonts made ready on their own thread while the program starts: the first text drawn finds
// every bundled face registered, however far the thread has got, and a start that ends before
// the application exists leaves the faces alone.

#include "platform/dxdraw.h"
#include "platform/fonts_ahead.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

// The families of the faces the program has registered, with how many faces each has.
QMap<QString, int> RegisteredFaces() {
    QMap<QString, int> faces;
    for (int id = 0; id < 16; ++id) {
        for (const QString& family : QFontDatabase::applicationFontFamilies(id)) {
            ++faces[family];
        }
    }
    return faces;
}

TEST(FontsAhead, TheFirstTextFindsEveryBundledFaceRegistered) {
    FontsAhead ahead;
    ahead.ApplicationStarted();
    // Straight away, as the first frame would if the thread had only begun.
    const QFont wanted = FontFor(FontSpec{FontFace::Small, 11, true, false});
    const QMap<QString, int> faces = RegisteredFaces();
    EXPECT_EQ(faces.value(QStringLiteral("Liberation Sans")), 4);
    EXPECT_EQ(faces.value(QStringLiteral("DejaVu Sans Condensed")), 2);
    EXPECT_EQ(QFontInfo(wanted).family(), QStringLiteral("DejaVu Sans Condensed"));
    EXPECT_TRUE(QFontInfo(wanted).bold());
}

TEST(FontsAhead, TheFacesWaitForTheApplicationAndAreLeftAloneWithoutIt) {
    {
        FontsAhead ahead;
        // Start-up ended (a disc that cannot be read) before the application was made.
    }
    EXPECT_TRUE(RegisteredFaces().isEmpty());

    {
        FontsAhead ahead;
        ahead.ApplicationStarted();
        // The program ends before any text is drawn: the thread finishes the faces first.
    }
    const QMap<QString, int> faces = RegisteredFaces();
    EXPECT_EQ(faces.value(QStringLiteral("Liberation Sans")), 4);
    EXPECT_EQ(faces.value(QStringLiteral("DejaVu Sans Condensed")), 2);
}

} // namespace
} // namespace kestrova
