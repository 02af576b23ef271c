#pragma once

#include "core/file_writer.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace mosaiqua::test {

// A temporary that takes `budget` bytes and refuses the rest, like a disk that fills up; with
// `closeFails` its close reports the data lost even when every byte went through.
class FailingOutput final : public OutputFile {
public:
    FailingOutput(std::unique_ptr<OutputFile> real, std::size_t budget, bool closeFails = false)
        : m_real(std::move(real)), m_budget(budget), m_closeFails(closeFails) {}
    bool write(const std::uint8_t* bytes, std::size_t count) override {
        if (count > m_budget) {
            m_real->write(bytes, m_budget);
            m_budget = 0;
            return false;
        }
        m_budget -= count;
        return m_real->write(bytes, count);
    }
    bool close() override { return m_real->close() && !m_closeFails; }

private:
    std::unique_ptr<OutputFile> m_real;
    std::size_t m_budget;
    bool m_closeFails;
};

// Opens every temporary as a FailingOutput; `opened`, when given, collects their paths.
inline OutputFileOpener FailingOpener(std::size_t budget, bool closeFails = false,
                                      std::vector<std::filesystem::path>* opened = nullptr) {
    return [=](const std::filesystem::path& path) -> std::unique_ptr<OutputFile> {
        if (opened)
            opened->push_back(path);
        std::unique_ptr<OutputFile> real = OpenPlainOutputFile(path);
        if (!real)
            return nullptr;
        return std::make_unique<FailingOutput>(std::move(real), budget, closeFails);
    };
}

} // namespace mosaiqua::test
