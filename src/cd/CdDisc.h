#pragma once
// One disc opened through libcdio: a drive's device or a CUE sheet standing in
// for one. Reads the table of contents and the audio of a sector range.
#include "cd/CdToc.h"
#include "core/Result.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace cd {

class CdDisc {
public:
    CdDisc();
    ~CdDisc();
    CdDisc(const CdDisc&) = delete;
    CdDisc& operator=(const CdDisc&) = delete;

    // source: a device path, or a CUE file when image is true.
    Status open(const QString& source, bool image);
    bool isOpen() const;
    void close();
    const CdToc& toc() const { return m_toc; }

    // Reads count sectors from lba (lead-in included) as interleaved 16-bit stereo
    // samples in host order, replacing samples. Images are read as they are
    // stored; drives through paranoia, which retries and verifies.
    Status readAudio(int32_t lba, int count, std::vector<int16_t>& samples);

private:
    struct Handles;
    std::unique_ptr<Handles> m_handles;
    CdToc m_toc;
    bool m_image = false;
    bool m_bigEndian = false; // an image whose CUE sheet declares a MOTOROLA file
};

// Silences libcdio's own messages: failures reach the caller as values.
void QuietLibcdio();

} // namespace cd
