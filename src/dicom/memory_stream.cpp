#include "dicom/memory_stream.h"

namespace kova::dicom {
namespace {

class MemoryStreamFactory : public DcmInputStreamFactory {
public:
    MemoryStreamFactory(std::string_view bytes, offile_off_t offset)
        : m_bytes(bytes), m_offset(offset) {}

    DcmInputStream* create() const override { return new MemoryInputStream(m_bytes, m_offset); }
    DcmInputStreamFactory* clone() const override { return new MemoryStreamFactory(*this); }
    // The only other kind, a temporary file's factory, would delete its file.
    DcmInputStreamFactoryType ident() const override { return DFT_DcmInputFileStreamFactory; }

private:
    std::string_view m_bytes;
    offile_off_t m_offset;
};

} // namespace

MemoryInputStream::MemoryInputStream(std::string_view bytes, offile_off_t offset)
    : DcmInputStream(&m_producer), m_bytes(bytes) {
    if (!bytes.empty()) {
        m_producer.setBuffer(bytes.data(), static_cast<offile_off_t>(bytes.size()));
    }
    m_producer.setEos();
    if (offset > 0) {
        skip(offset);
    }
}

DcmInputStreamFactory* MemoryInputStream::newFactory() const {
    if (currentProducer() != &m_producer) {
        return nullptr;
    }
    return new MemoryStreamFactory(m_bytes, tell());
}

} // namespace kova::dicom
