#include "corpus/Corpus.h"

#include "components/MediaFolderStore.h"
#include "core/LibrarySchema.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <lame/lame.h>

#include <cmath>
#include <memory>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace corpus {

namespace {

struct LameCloser {
    void operator()(lame_global_flags* l) const { lame_close(l); }
};

void putBE32(QByteArray& out, quint32 v) {
    out.append(static_cast<char>(v >> 24)).append(static_cast<char>(v >> 16));
    out.append(static_cast<char>(v >> 8)).append(static_cast<char>(v));
}

QByteArray frame(const char* id, const QString& text) {
    QByteArray body;
    bool latin1 = true;
    for (QChar c : text)
        latin1 = latin1 && c.unicode() < 256;
    if (latin1) {
        body.append('\0').append(text.toLatin1());
    } else {
        body.append('\1').append('\xFF').append('\xFE');
        for (QChar c : text)
            body.append(static_cast<char>(c.unicode() & 0xFF))
                .append(static_cast<char>(c.unicode() >> 8));
    }
    QByteArray f(id, 4);
    putBE32(f, static_cast<quint32>(body.size()));
    f.append('\0').append('\0');
    return f + body;
}

const char* const kFirst[] = {"Anna", "Émile", "Björk",  "Seán",  "Zoë",   "Marco", "Ingrid",
                              "José", "Chloé", "Dmitri", "Aoife", "Lars",  "Renée", "Kofi",
                              "Mia",  "Tomás", "Yuki",   "Noël",  "Priya", "Otto"};
const char* const kLast[] = {"O'Brien",        "Müller",    "Smith",        "Dubois", "Nguyen",
                             "D'Angelo",       "García",    "Kowalski",     "Ørsted", "Rossi",
                             "Haddad",         "Bergström", "Silva",        "Novák",  "Park",
                             "Fitzgerald",     "Łukasz",    "Moreau",       "Kim",    "Svensson",
                             "Ó Súilleabháin", "Costa",     "Papadopoulos", "Jansen", "Ivanov"};
const char* const kWord[] = {"Blue",   "Night",       "Café",   "River",    "Don't",  "Échos",
                             "Summer", "Glass",       "Über",   "Electric", "Quiet",  "Naïve",
                             "Golden", "Rock'n'Roll", "Winter", "Señor",    "Paper",  "Broken",
                             "Hearts", "Fjörd",       "Velvet", "Highway",  "Mañana", "Silver"};

QString word(quint32 n) {
    return QString::fromUtf8(kWord[n % std::size(kWord)]);
}

quint32 mix(quint32 x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

int artistCount(int files) {
    return std::max(1, files / 20);
}
int albumOf(int index) {
    return index / 10;
}
int artistOfAlbum(int album, int files) {
    return album % artistCount(files);
}

} // namespace

QByteArray EncodeMp3(double seconds, int kbps, int channels, int sampleRate) {
    std::unique_ptr<lame_global_flags, LameCloser> lame(lame_init());
    lame_set_in_samplerate(lame.get(), sampleRate);
    lame_set_out_samplerate(lame.get(), sampleRate);
    lame_set_num_channels(lame.get(), channels);
    lame_set_mode(lame.get(), channels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(lame.get(), kbps);
    lame_set_quality(lame.get(), 7);
    lame_set_bWriteVbrTag(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0) return {};
    const int samples = static_cast<int>(seconds * sampleRate);
    std::vector<short> left(static_cast<size_t>(samples)), right(static_cast<size_t>(samples));
    for (int i = 0; i < samples; ++i)
        left[static_cast<size_t>(i)] = right[static_cast<size_t>(i)] =
            static_cast<short>(8000 * std::sin(2 * M_PI * 440.0 * i / sampleRate));
    std::vector<unsigned char> buffer(static_cast<size_t>(1.25 * samples + 7200));
    int n = lame_encode_buffer(lame.get(), left.data(), right.data(), samples, buffer.data(),
                               static_cast<int>(buffer.size()));
    if (n < 0) return {};
    QByteArray out(reinterpret_cast<const char*>(buffer.data()), n);
    n = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (n > 0) out.append(reinterpret_cast<const char*>(buffer.data()), n);
    return out;
}

QByteArray Id3v23(const TagFields& t) {
    QByteArray frames;
    const std::pair<const char*, const QString*> fields[] = {
        {"TPE1", &t.artist}, {"TALB", &t.album}, {"TIT2", &t.title},  {"TRCK", &t.track},
        {"TYER", &t.year},   {"TCON", &t.genre}, {"COMM", &t.comment}};
    for (const auto& [id, value] : fields) {
        if (value->isEmpty()) continue;
        if (std::string_view(id) == "COMM") {
            // encoding, language, empty description, text
            QByteArray body("\0eng\0", 5);
            body.append(value->toLatin1());
            QByteArray f("COMM", 4);
            putBE32(f, static_cast<quint32>(body.size()));
            f.append('\0').append('\0');
            frames += f + body;
            continue;
        }
        frames += frame(id, *value);
    }
    QByteArray h("ID3\x03\x00\x00", 6);
    const quint32 size = static_cast<quint32>(frames.size());
    h.append(static_cast<char>((size >> 21) & 0x7F)).append(static_cast<char>((size >> 14) & 0x7F));
    h.append(static_cast<char>((size >> 7) & 0x7F)).append(static_cast<char>(size & 0x7F));
    return h + frames;
}

QByteArray Id3v1(const TagFields& t, int genreNumber) {
    QByteArray tag(128, '\0');
    auto put = [&tag](int at, int len, const QString& s) {
        const QByteArray b = s.toLatin1().left(len);
        tag.replace(at, b.size(), b);
    };
    tag.replace(0, 3, "TAG");
    put(3, 30, t.title);
    put(33, 30, t.artist);
    put(63, 30, t.album);
    put(93, 4, t.year);
    put(97, 28, t.comment);
    tag[126] = static_cast<char>(t.track.toInt());
    tag[127] = static_cast<char>(genreNumber);
    return tag;
}

TagFields TagsOf(int index, int files, quint32 seed) {
    TagFields t;
    const int album = albumOf(index);
    const int artist = artistOfAlbum(album, files);
    const quint32 h = mix(static_cast<quint32>(album) ^ seed);
    const int nFirst = static_cast<int>(std::size(kFirst));
    const int nLast = static_cast<int>(std::size(kLast));
    if (artist % 97 != 13) {
        t.artist = QString::fromUtf8(kFirst[artist % nFirst]) + QLatin1Char(' ') +
                   QString::fromUtf8(kLast[(artist / nFirst) % nLast]);
        if (artist >= nFirst * nLast)
            t.artist += QStringLiteral(" %1").arg(artist / (nFirst * nLast) + 1);
    }
    if (album % 53 != 7)
        t.album = word(h) + QLatin1Char(' ') + word(h >> 8) +
                  QStringLiteral(" %1").arg(album / artistCount(files) + 1);
    const int track = index % 10 + 1;
    if (index % 211 != 5)
        t.title = word(mix(static_cast<quint32>(index) ^ seed)) + QLatin1Char(' ') +
                  word(static_cast<quint32>(index) * 7 + 3) + QStringLiteral(" %1").arg(track);
    t.track = (index % 3 == 0) ? QStringLiteral("%1/10").arg(track) : QString::number(track);
    t.year = QString::number(1960 + static_cast<int>(h % 60));
    if (h % 13 != 0) t.genre = LibrarySchema::GenreName(static_cast<int>(h % 148));
    return t;
}

QString RelativePathOf(int index, int files, quint32 seed) {
    const int album = albumOf(index);
    const int artist = artistOfAlbum(album, files);
    const TagFields t = TagsOf(index, files, seed);
    QString title = t.title.isEmpty() ? QStringLiteral("untitled") : t.title;
    title.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QString ext = index % 37 == 11 ? QStringLiteral(".MP3") : QStringLiteral(".mp3");
    return QStringLiteral("g%1/a%2/b%3/%4 - %5%6")
        .arg(artist % 100, 2, 10, QLatin1Char('0'))
        .arg(artist, 5, 10, QLatin1Char('0'))
        .arg(album, 5, 10, QLatin1Char('0'))
        .arg(index % 10 + 1, 2, 10, QLatin1Char('0'))
        .arg(title, ext);
}

Result<Stats> Generate(const QString& root, const Spec& spec) {
    const QByteArray audio = EncodeMp3(spec.templateSeconds);
    if (audio.isEmpty())
        return Result<Stats>::failure(QStringLiteral("LAME could not encode the template"));
    Stats stats;
    QSet<QString> artists;
    QSet<QString> albums;
    QSet<QString> madeDirs;
    for (int i = 0; i < spec.files; ++i) {
        const TagFields t = TagsOf(i, spec.files, spec.seed);
        const QString rel = RelativePathOf(i, spec.files, spec.seed);
        const QString path = root + QLatin1Char('/') + rel;
        const QString dir = path.left(path.lastIndexOf(QLatin1Char('/')));
        if (!madeDirs.contains(dir)) {
            if (!QDir().mkpath(dir))
                return Result<Stats>::failure(QStringLiteral("cannot create %1").arg(dir));
            madeDirs.insert(dir);
        }
        const QByteArray bytes = Id3v23(t) + audio;
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) return Result<Stats>::failure(QStringLiteral("cannot write %1").arg(path));
        const ssize_t w = ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size()));
        ::close(fd);
        if (w != bytes.size())
            return Result<Stats>::failure(QStringLiteral("cannot write %1").arg(path));
        artists.insert(t.artist);
        albums.insert(t.artist + QChar(0) + t.album);
        stats.bytes += bytes.size();
        ++stats.files;
    }
    stats.artists = static_cast<int>(artists.size());
    stats.albums = static_cast<int>(albums.size());
    return stats;
}

Result<ScanCounts> BuildLibrary(const QString& root, const QString& dbPath,
                                const LibraryScanner::Callbacks& callbacks) {
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(dbPath + QLatin1String(suffix));
    if (Status s = LibrarySchema::createTemplate(dbPath); !s)
        return Result<ScanCounts>::failure(s.error());
    Result<db::Database> d = db::Database::open(dbPath);
    if (!d) return Result<ScanCounts>::failure(d.error());
    MediaFolderStore folders(&d.value());
    if (!folders.Add(root))
        return Result<ScanCounts>::failure(
            QStringLiteral("cannot add the media folder %1").arg(root));
    LibraryScanner scanner(d.value());
    return scanner.run(QString(), callbacks);
}

} // namespace corpus
