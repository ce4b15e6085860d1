// The loaded record handed to the host: record-level values, the file
// metadata, and the analog, digital and logical channels it owns. Created
// empty for a record path, filled once by Assemble, read-only afterwards.
#ifndef DR_MVQ4_MODULE_MVQ4_LOADED_DISTURBANCE_FILE_H
#define DR_MVQ4_MODULE_MVQ4_LOADED_DISTURBANCE_FILE_H

#include <cstdint>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "dr_mvq4/DisturbanceDataReader.h"

namespace record {
class DisturbanceRecord;
}
class RegularDigitalChannel;
struct AnalogAssemblyContext;

class MVQ4_LoadedDisturbanceFile : public DisturbanceDataReader {
public:
    class MVQ4MetadataReader : public FileMetadataReader {
    public:
        explicit MVQ4MetadataReader(const std::wstring& path);

        const char* GetFileName() override { return m_fileName.c_str(); }
        const char* GetDescription() override { return m_description.c_str(); }
        const char* GetTriggerTimeText() override { return m_triggerTimeText.c_str(); }
        int GetDefaultXOffset() override { return m_defaultXOffset; }

    private:
        friend class MVQ4_LoadedDisturbanceFile;
        std::string m_fileName;
        std::string m_description;
        std::string m_triggerTimeText;
        int32_t m_defaultXOffset = 0;
    };

    explicit MVQ4_LoadedDisturbanceFile(const std::wstring& path);
    ~MVQ4_LoadedDisturbanceFile() override;
    MVQ4_LoadedDisturbanceFile(const MVQ4_LoadedDisturbanceFile&) = delete;
    MVQ4_LoadedDisturbanceFile& operator=(const MVQ4_LoadedDisturbanceFile&) = delete;

    // Builds every channel from the decoded record. The record is used up:
    // its document is released once decoded, the channels take over its
    // samples. On false the object is incomplete and must be released.
    bool Assemble(record::DisturbanceRecord& record);

    int GetAnalogChannelCount() override { return static_cast<int>(m_analogChannels.size()); }
    AnalogChannelReader* GetAnalogChannel(int index) override { return m_analogChannels[Index(index)]; }
    int GetDigitalChannelCount() override { return static_cast<int>(m_digitalChannels.size()); }
    DigitalChannelReader* GetDigitalChannel(int index) override { return m_digitalChannels[Index(index)]; }
    int GetLogicalChannelCount() override { return static_cast<int>(m_logicalChannels.size()); }
    LogicalChannelReader* GetLogicalChannel(int index) override { return m_logicalChannels[Index(index)]; }
    uint32_t GetSampleCount() override { return m_sampleCount; }
    uint32_t GetTriggerSample() override { return m_triggerSample; }
    double GetSampleTime(uint32_t sample) override;
    double GetSampleInterval() override { return m_sampleInterval; }
    bool GetTriggerTime(tm* time, double* milliseconds) override;
    bool GetSecondaryTime(tm*, double*) override { return false; }
    const char* GetLanguage() override { return "ENG"; }
    FileMetadataReader* GetFileMetadata() override { return &m_metadata; }
    bool GetTimeZone(int* offset, int* dstOffset) override;

private:
    static size_t Index(int index) { return static_cast<size_t>(index); }
    bool AssembleHeader(record::DisturbanceRecord& record);
    // `offset`: samples from the first recorded sample to the trigger;
    // `lost`: the record's count of lost events.
    bool AssembleDigital(record::DisturbanceRecord& record, int64_t offset, int32_t lost);
    bool AssembleLogical(record::DisturbanceRecord& record, int64_t offset, int32_t lost);
    void MapDigitalIds(record::DisturbanceRecord& record);
    bool AssembleAnalog(record::DisturbanceRecord& record, int64_t offset);
    // The padding the trigger offset asks for, added to the sample count.
    bool PadAnalogTraces(int64_t offset, uint32_t& padding);

    double m_sampleInterval = 0.0;
    uint32_t m_sampleCount = 0;
    uint32_t m_triggerSample = 0;
    bool m_timeZoneValid = false;
    int32_t m_timeZoneOffset = 0;
    int32_t m_dstOffset = 0;
    std::vector<AnalogChannelReader*> m_analogChannels;
    std::vector<DigitalChannelReader*> m_digitalChannels;
    std::vector<LogicalChannelReader*> m_logicalChannels;
    tm m_triggerTime{};
    double m_triggerMilliseconds = 0.0;
    MVQ4MetadataReader m_metadata;
    std::map<int32_t, RegularDigitalChannel*> m_digitalById;  // assembly only
};

#endif
