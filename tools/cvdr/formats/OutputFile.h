// Files that cvdr writes: opened for writing, written as the output is made,
// and checked on closing, with one readable error for any failure.
#ifndef CVDR_FORMATS_OUTPUT_FILE_H
#define CVDR_FORMATS_OUTPUT_FILE_H

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace cvdr {

class OutputFile {
public:
    // Creates or truncates the file; throws std::runtime_error
    // "cannot write PATH: REASON" when it cannot.
    explicit OutputFile(std::string path);

    const std::string& Path() const { return m_path; }
    std::ostream& Stream() { return m_out; }
    void Write(std::string_view bytes);
    // Flushes and closes; throws when anything written did not reach the file.
    void Close();

private:
    [[noreturn]] void Fail() const;

    std::string m_path;
    std::ofstream m_out;
};

// The files written for one record: removed again unless Keep() is called,
// so that a record that fails half-way leaves no partial output behind.
class OutputSet {
public:
    OutputSet() = default;
    ~OutputSet();
    OutputSet(const OutputSet&) = delete;
    OutputSet& operator=(const OutputSet&) = delete;

    void Add(const std::string& path) { m_paths.push_back(path); }
    void Keep() { m_paths.clear(); }

private:
    std::vector<std::string> m_paths;
};

}  // namespace cvdr

#endif
