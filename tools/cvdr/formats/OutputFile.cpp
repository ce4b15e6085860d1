#include "formats/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace cvdr {

OutputFile::OutputFile(std::string path) : m_path(std::move(path)) {
    errno = 0;
    m_out.open(m_path, std::ios::binary | std::ios::trunc);
    if (!m_out) Fail();
}

void OutputFile::Write(std::string_view bytes) {
    m_out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!m_out) Fail();
}

void OutputFile::Close() {
    errno = 0;
    m_out.flush();
    if (!m_out) Fail();
    m_out.close();
    if (!m_out) Fail();
}

void OutputFile::Fail() const {
    const int error = errno;
    throw std::runtime_error("cannot write " + m_path +
                             (error != 0 ? ": " + std::string(std::strerror(error)) : ""));
}

OutputSet::~OutputSet() {
    for (const std::string& path : m_paths) std::remove(path.c_str());
}

}  // namespace cvdr
