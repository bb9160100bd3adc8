#pragma once

// A DCMTK input stream over bytes in memory that can be opened again at any position. With
// it DCMTK leaves values longer than the read limit unread while parsing, instead of taking
// memory for whatever length a damaged file claims; a value is read when it is asked for.

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmdata/dcistrmb.h>
#include <string_view>

namespace kova::dicom {

class MemoryInputStream : public DcmInputStream {
public:
    /// Reads `bytes` from `offset` on; the bytes must outlive the stream and every data set
    /// read from it.
    explicit MemoryInputStream(std::string_view bytes, offile_off_t offset = 0);

    /// A factory that opens the same bytes at the current position; none once a
    /// decompression filter is installed (its positions are not those of the bytes).
    DcmInputStreamFactory* newFactory() const override;

private:
    DcmBufferProducer m_producer;
    std::string_view m_bytes;
};

} // namespace kova::dicom
