#include "plot/FundamentalLanes.h"

#include <map>
#include <utility>

#include "analysis/Fundamental.h"

namespace cvdr::plot {

void AddFundamentalLanes(host::Record& record, PlotContent& content, double frequency) {
    std::map<size_t, size_t> magnitudeOf;  // analog index: its magnitude channel's
    std::vector<AnalogLane> lanes;
    for (const AnalogLane& lane : content.analog) {
        AnalogLane magnitudes{lane.label + " fundamental", lane.unit, {}};
        for (size_t index : lane.channels) {
            if (magnitudeOf.count(index) == 0) {
                analysis::MagnitudeTrace trace = analysis::FundamentalMagnitudes(record, index, frequency);
                const host::AnalogChannel& source = record.analog[index];
                host::AnalogChannel channel;
                channel.name = source.name + " fundamental";
                channel.unit = source.unit;
                channel.color = source.color;
                channel.sampleCount = record.sampleCount;
                channel.values = std::move(trace.values);
                channel.valid = std::move(trace.valid);
                magnitudeOf[index] = record.analog.size();
                record.analog.push_back(std::move(channel));  // `source` is not used again
            }
            magnitudes.channels.push_back(magnitudeOf[index]);
        }
        lanes.push_back(lane);
        lanes.push_back(std::move(magnitudes));
    }
    content.analog = std::move(lanes);
}

}  // namespace cvdr::plot
