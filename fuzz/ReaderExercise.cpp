#include "ReaderExercise.h"

#include <cstring>

namespace {

volatile double g_sink = 0.0;

void ExerciseCommon(GenericChannelReader& channel) {
    g_sink = g_sink + static_cast<double>(std::strlen(channel.GetMetadata()->GetName())) +
             channel.GetMetadata()->GetColor() + channel.GetId() + std::strlen(channel.GetKey()) + channel.GetOffset();
    RangeMarker* ranges = channel.GetRangeMarker();
    g_sink = g_sink + (ranges->HasInvalidRanges() ? 1 : 0);
    for (RangeIterator it = ranges->GetRangesBegin(); it != ranges->GetRangesEnd(); ++it) {
        g_sink = g_sink + it->firstSample;
    }
}

template <typename Channel>
void ExerciseTransitions(Channel& channel, uint32_t samples) {
    ExerciseCommon(channel);
    for (int i = 0; i < channel.GetTransitionCount(); ++i) g_sink = g_sink + channel.GetTransitionSample(i);
    for (uint32_t s = 0; s < samples && s < 4096; ++s) {
        g_sink = g_sink + (channel.IsSampleInvalid(s) ? 1 : 0);
        if (channel.FindTransition(s) != channel.GetTransitionsEnd()) g_sink = g_sink + channel.FindTransition(s)->firstSample;
    }
}

}  // namespace

void ExerciseReader(DisturbanceDataReader& reader) {
    const uint32_t samples = reader.GetSampleCount();
    g_sink = g_sink + reader.GetSampleTime(0) + reader.GetSampleInterval() + reader.GetTriggerSample();
    tm time{};
    double milliseconds = 0;
    reader.GetTriggerTime(&time, &milliseconds);
    int zone = 0, dst = 0;
    reader.GetTimeZone(&zone, &dst);
    FileMetadataReader* metadata = reader.GetFileMetadata();
    g_sink = g_sink + std::strlen(metadata->GetDescription()) + std::strlen(metadata->GetTriggerTimeText());
    for (int i = 0; i < reader.GetAnalogChannelCount(); ++i) {
        AnalogChannelReader& channel = *reader.GetAnalogChannel(i);
        ExerciseCommon(channel);
        for (uint32_t s = 0; s < channel.GetSampleCount() && s < 4096; ++s) {
            g_sink = g_sink + channel.GetSampleValue(s) + (channel.IsSampleValid(s) ? 1 : 0);
        }
        g_sink = g_sink + channel.GetMaxMagnitude() + std::strlen(channel.GetUnit());
    }
    for (int i = 0; i < reader.GetDigitalChannelCount(); ++i) ExerciseTransitions(*reader.GetDigitalChannel(i), samples);
    for (int i = 0; i < reader.GetLogicalChannelCount(); ++i) ExerciseTransitions(*reader.GetLogicalChannel(i), samples);
}
