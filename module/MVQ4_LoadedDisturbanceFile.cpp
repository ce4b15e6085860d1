#include "module/MVQ4_LoadedDisturbanceFile.h"

#include "platform/TextConversion.h"

MVQ4_LoadedDisturbanceFile::MVQ4MetadataReader::MVQ4MetadataReader(const std::wstring& path)
    : m_fileName(platform::WideToUtf8(path)), m_description("Corvane disturbance file") {}

MVQ4_LoadedDisturbanceFile::MVQ4_LoadedDisturbanceFile(const std::wstring& path) : m_metadata(path) {}

MVQ4_LoadedDisturbanceFile::~MVQ4_LoadedDisturbanceFile() {
    for (AnalogChannelReader* channel : m_analogChannels) delete channel;
    for (DigitalChannelReader* channel : m_digitalChannels) delete channel;
    for (LogicalChannelReader* channel : m_logicalChannels) delete channel;
}

double MVQ4_LoadedDisturbanceFile::GetSampleTime(uint32_t sample) {
    const int64_t distance = static_cast<int64_t>(sample) - static_cast<int64_t>(m_triggerSample);
    return static_cast<double>(distance) * m_sampleInterval;
}

bool MVQ4_LoadedDisturbanceFile::GetTriggerTime(tm* time, double* milliseconds) {
    *time = m_triggerTime;
    *milliseconds = m_triggerMilliseconds;
    return true;
}

bool MVQ4_LoadedDisturbanceFile::GetTimeZone(int* offset, int* dstOffset) {
    *offset = m_timeZoneOffset;
    *dstOffset = m_dstOffset;
    return m_timeZoneValid;
}
