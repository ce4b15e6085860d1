// Name and colour of one channel, as the host reads them.
#ifndef DR_MVQ4_MODULE_CHANNEL_METADATA_CONTAINER_H
#define DR_MVQ4_MODULE_CHANNEL_METADATA_CONTAINER_H

#include <string>

#include "dr_mvq4/DisturbanceDataReader.h"

class ChannelMetadataContainer : public ChannelMetadataReader {
public:
    ChannelMetadataContainer(std::string name, uint32_t color) : m_name(std::move(name)), m_color(color) {}

    const char* GetName() override { return m_name.c_str(); }
    uint32_t GetColor() override { return m_color; }

private:
    std::string m_name;  // UTF-8
    uint32_t m_color;    // COLORREF 0x00BBGGRR
};

#endif
