#include "commands/DumpCommand.h"

#include "formats/json/DumpWriter.h"

namespace cvdr {

int RunDump(const RecordRequest& request, bool samples) {
    const DumpOptions options{samples};
    return RunOnRecord(request, {samples}, [&options](const host::Record& record, std::ostream& out) {
        WriteDump(record, options, out);
    });
}

}  // namespace cvdr
