#include "cli/ConvertCommand.h"

#include "convert/AudioDecoder.h"
#include "convert/EncoderConfig.h"
#include "convert/LameEncoder.h"
#include "convert/WmaEncoder.h"

#include <QFileInfo>

#include <memory>

namespace qvr {

namespace {

QString suffixOf(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

} // namespace

void addConvertCommands(CLI::App& qvr, Command& command) {
    struct Options {
        QString in;
        QString out;
        std::optional<int> preset;
    };
    auto encode = std::make_shared<Options>();
    CLI::App* enc = qvr.add_subcommand("encode", "Encode a 16-bit PCM WAV file to MP3 or WMA");
    cli::addText(enc, "IN", encode->in, "The WAV file")->required()->check(command.line.path());
    cli::addText(enc, "OUT", encode->out, "The MP3 or WMA file to write (by its extension)")
        ->required()
        ->check(command.line.path());
    enc->add_option("--preset", encode->preset,
                    "1-8: CBR 48, 64, 96, 128, 160, 192, 256, 320 kbit/s; MP3 15-19: VBR "
                    "quality 0, 2, 4, 6, 8; WMA 9-14: 48, 64, 96, 128, 160, 192 kbit/s, 15-19: "
                    "quality 0-4; without it: the encoder settings");
    enc->callback([&command, encode] {
        command.status = runEncode(encode->in, encode->out, encode->preset, command.io);
    });

    auto decode = std::make_shared<Options>();
    CLI::App* dec = qvr.add_subcommand("decode", "Decode an MP3 or WMA file to 16-bit PCM WAV");
    cli::addText(dec, "IN", decode->in, "The MP3 or WMA file")
        ->required()
        ->check(command.line.path());
    cli::addText(dec, "OUT", decode->out, "The WAV file to write")
        ->required()
        ->check(command.line.path());
    dec->callback(
        [&command, decode] { command.status = runDecode(decode->in, decode->out, command.io); });
}

int runEncode(const QString& in, const QString& out, std::optional<int> preset, Io io) {
    std::unique_ptr<AudioEncoder> encoder;
    const QString type = suffixOf(out);
    if (type == QLatin1String("mp3"))
        encoder = std::make_unique<lameEncoder>();
    else if (type == QLatin1String("wma"))
        encoder = std::make_unique<wmaEncoder>();
    else {
        io.err << "qvr encode: can only write .mp3 and .wma files, not " << out << '\n';
        return 1;
    }
    if (preset) {
        if (!encoder->SetEncPreset(*preset)) {
            io.err << "qvr encode: no preset " << *preset << " for ." << type << '\n';
            return 1;
        }
    } else {
        convert::Configure(*encoder, convert::StoredEncoderSettings());
    }
    int shown = -1;
    QObject::connect(encoder.get(), &AudioEncoder::EncodingProgress, [&io, &shown](float percent) {
        const int whole = static_cast<int>(percent);
        if (whole == shown) return;
        shown = whole;
        io.err << "\rencoding " << whole << '%';
        io.err.flush();
    });
    encoder->SetInputFile(in);
    encoder->SetOutputFile(out);
    const bool ok = encoder->Encode();
    if (shown >= 0) io.err << '\n';
    if (!ok) {
        io.err << "qvr encode: " << encoder->LastError() << '\n';
        return 1;
    }
    return 0;
}

int runDecode(const QString& in, const QString& out, Io io) {
    AudioDecoder decoder;
    const QString type = suffixOf(in);
    bool ok = false;
    io.err << "decoding " << in << '\n';
    io.err.flush();
    if (type == QLatin1String("mp3"))
        ok = decoder.Mp3DecoderAvailable() && decoder.DecodeMp3ToWav(in, out, 600);
    else if (type == QLatin1String("wma"))
        ok = decoder.WmaDecoderAvailable() && decoder.DecodeWmaToWav(in, out, 600);
    else {
        io.err << "qvr decode: can only read .mp3 and .wma files, not " << in << '\n';
        return 1;
    }
    if (!ok) {
        io.err << "qvr decode: "
               << (decoder.LastError().isEmpty() ? QStringLiteral("no decoder for %1").arg(in)
                                                 : decoder.LastError())
               << '\n';
        return 1;
    }
    return 0;
}

} // namespace qvr
