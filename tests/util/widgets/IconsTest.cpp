// The icon set in resources/quavero.qrc: every entry is present in the
// compiled resources, parses with QSvgRenderer and paints something at the
// sizes the widgets use.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const QString kQrcPath = QStringLiteral(QUAVERO_SOURCE_DIR "/resources/quavero.qrc");

// Aliases of every <file> in the qrc, e.g. "icons/lib.svg".
QStringList qrcAliases() {
    QStringList aliases;
    QFile file(kQrcPath);
    if (!file.open(QIODevice::ReadOnly)) return aliases;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QLatin1String("file")) {
            const QString alias = xml.attributes().value(QLatin1String("alias")).toString();
            const QString path = xml.readElementText().trimmed();
            aliases << (alias.isEmpty() ? path : alias);
        }
    }
    return aliases;
}

QString baseName(const QString& alias) {
    return QFileInfo(alias).completeBaseName();
}

// The size the application paints an icon at: toolbar 24, message boxes 32,
// the logos at their own size, tree and list icons 16.
QSize expectedViewSize(const QString& name) {
    if (name.startsWith(QLatin1String("tb_"))) return {24, 24};
    if (name.startsWith(QLatin1String("msg_"))) return {32, 32};
    if (name == QLatin1String("app")) return {48, 48};
    if (name.startsWith(QLatin1String("logo_"))) return {}; // free size
    return {16, 16};
}

int paintedPixels(QSvgRenderer& renderer, const QSize& size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) ++count;
    return count;
}

class Icons : public ::testing::Test {
protected:
};

TEST_F(Icons, QrcListsTheWholeSet) {
    const QStringList aliases = qrcAliases();
    ASSERT_FALSE(aliases.isEmpty()) << qPrintable(kQrcPath);

    QSet<QString> names;
    for (const QString& alias : aliases) {
        EXPECT_TRUE(alias.startsWith(QLatin1String("icons/")) &&
                    alias.endsWith(QLatin1String(".svg")))
            << qPrintable(alias);
        EXPECT_EQ(alias, alias.toLower()) << qPrintable(alias);
        names.insert(baseName(alias));
    }
    EXPECT_EQ(names.size(), aliases.size()) << "duplicate aliases";

    const char* expected[] = {"lib",
                              "f_open",
                              "f_close",
                              "f_filter",
                              "filter",
                              "f_rating",
                              "rate_0",
                              "rate_1",
                              "rate_2",
                              "rate_3",
                              "rate_4",
                              "rate_5",
                              "myf_open",
                              "myf_close",
                              "cd",
                              "artist",
                              "album",
                              "mp3",
                              "wma",
                              "wav",
                              "tb_mediafolders",
                              "tb_refresh",
                              "tb_microplayer",
                              "tb_columns",
                              "tb_preferences",
                              "tb_sysinfo",
                              "tb_about",
                              "tb_server",
                              "msg_error",
                              "msg_exclamation",
                              "msg_information",
                              "msg_question",
                              "app",
                              "logo_small",
                              "logo_faded"};
    for (const char* name : expected)
        EXPECT_TRUE(names.contains(QString::fromLatin1(name))) << name;

    // Every drawing in resources/icons is listed, and nothing else is compiled in.
    const QStringList onDisk = QDir(QStringLiteral(QUAVERO_SOURCE_DIR "/resources/icons"))
                                   .entryList({QStringLiteral("*.svg")}, QDir::Files);
    for (const QString& file : onDisk)
        EXPECT_TRUE(aliases.contains(QStringLiteral("icons/") + file)) << qPrintable(file);
    const QStringList compiled = QDir(QStringLiteral(":/icons")).entryList(QDir::Files);
    EXPECT_EQ(compiled.size(), aliases.size());
}

TEST_F(Icons, EveryIconLoadsAndPaints) {
    const QStringList aliases = qrcAliases();
    ASSERT_FALSE(aliases.isEmpty());
    for (const QString& alias : aliases) {
        const QString resource = QStringLiteral(":/") + alias;
        const QString name = baseName(alias);
        SCOPED_TRACE(qPrintable(resource));
        ASSERT_TRUE(QFile::exists(resource));

        QSvgRenderer renderer(resource);
        ASSERT_TRUE(renderer.isValid());
        const QSize natural = renderer.defaultSize();
        EXPECT_FALSE(natural.isEmpty());
        const QSize view = expectedViewSize(name);
        if (view.isValid()) {
            EXPECT_EQ(natural, view);
            EXPECT_EQ(renderer.viewBoxF(), QRectF(QPointF(0, 0), QSizeF(view)));
        }

        const int small = name.startsWith(QLatin1String("tb_")) ? 24 : 16;
        EXPECT_GT(paintedPixels(renderer, QSize(small, small)), 0);
        EXPECT_GT(paintedPixels(renderer, natural), 0);
    }
}

TEST_F(Icons, RatingLevelsDiffer) {
    QList<QImage> images;
    for (int level = 0; level <= 5; ++level) {
        QSvgRenderer renderer(QStringLiteral(":/icons/rate_%1.svg").arg(level));
        ASSERT_TRUE(renderer.isValid()) << level;
        QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        for (const QImage& other : images)
            EXPECT_NE(image, other) << "rate_" << level;
        images << image;
    }
}

} // namespace
