// The pictures the windows ask for by name: each is compiled in, parses, and
// paints something at the size it is shown.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <gtest/gtest.h>

namespace {

QImage render(const QString& resource, int size) {
    QSvgRenderer renderer(resource);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (renderer.isValid()) {
        QPainter painter(&image);
        renderer.render(&painter);
    }
    return image;
}

bool paintsSomething(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) return true;
    return false;
}

} // namespace

TEST(Icons, EveryNamedPictureIsThereAndPaints) {
    const QStringList names =
        QStringLiteral(
            "lib f_open f_close f_filter filter f_rating rate_0 rate_1 rate_2 rate_3 rate_4 rate_5 "
            "myf_open myf_close cd artist album mp3 wma wav tb_mediafolders tb_refresh "
            "tb_microplayer tb_columns tb_preferences tb_sysinfo tb_about tb_server msg_error "
            "msg_exclamation msg_information msg_question app logo_small logo_faded")
            .split(QLatin1Char(' '));
    const QStringList compiled = QDir(":/icons").entryList(QDir::Files);
    for (const QString& name : names)
        EXPECT_TRUE(compiled.contains(name + ".svg")) << name.toStdString();
    // Every drawing in the source folder is compiled in.
    const QStringList onDisk = QDir(QStringLiteral(QUAVERO_SOURCE_DIR "/resources/icons"))
                                   .entryList({"*.svg"}, QDir::Files);
    EXPECT_EQ(compiled, onDisk);

    for (const QString& file : compiled) {
        const QString resource = QStringLiteral(":/icons/") + file;
        EXPECT_TRUE(QSvgRenderer(resource).isValid()) << file.toStdString();
        const int size = file.startsWith("tb_") ? 24 : file.startsWith("msg_") ? 32 : 16;
        EXPECT_TRUE(paintsSomething(render(resource, size))) << file.toStdString();
    }
}

TEST(Icons, RatingLevelsDifferAtTreeSize) {
    QList<QImage> images;
    for (int level = 0; level <= 5; ++level) {
        const QImage image = render(QStringLiteral(":/icons/rate_%1.svg").arg(level), 16);
        for (const QImage& other : images)
            EXPECT_NE(image, other) << "rate_" << level;
        images << image;
    }
}
