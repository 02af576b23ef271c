#include "archive.h"

#include "errors.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>

namespace mosaiqua {

namespace {

[[noreturn]] void Refuse(const std::string& reason) {
    throw UserError(UserError::Kind::CannotOpenFile, reason);
}

std::string TooLarge(const std::string& what) {
    return what + " is larger than 16 MB, more than any C64 file; it is not unpacked.";
}

} // namespace

struct ZipArchive::State {
    std::vector<std::uint8_t> bytes; // what a zip in memory reads from
    zip_t* archive = nullptr;
    ~State() {
        if (archive)
            zip_discard(archive);
    }
};

ZipArchive::ZipArchive(std::unique_ptr<State> state) : m_state(std::move(state)) {
    const zip_int64_t count = zip_get_num_entries(m_state->archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(m_state->archive, zip_uint64_t(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME))
            continue;
        const std::string name = stat.name;
        if (name.empty() || name.back() == '/')
            continue; // a folder
        m_members.push_back({name, (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0});
        m_indices.push_back(zip_uint64_t(i));
    }
}

ZipArchive::ZipArchive(ZipArchive&&) noexcept = default;
ZipArchive& ZipArchive::operator=(ZipArchive&&) noexcept = default;
ZipArchive::~ZipArchive() = default;

ZipArchive ZipArchive::OpenFile(const std::string& utf8Path) {
    int code = 0;
    auto state = std::make_unique<State>();
    state->archive = zip_open(utf8Path.c_str(), ZIP_RDONLY, &code);
    if (!state->archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const std::string reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        Refuse("The zip archive cannot be read: " + reason + ".");
    }
    return ZipArchive(std::move(state));
}

ZipArchive ZipArchive::OpenBytes(std::vector<std::uint8_t> bytes) {
    auto state = std::make_unique<State>();
    state->bytes = std::move(bytes);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(state->bytes.data(), state->bytes.size(), 0, &error);
    if (source)
        state->archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!state->archive) {
        if (source)
            zip_source_free(source);
        const std::string reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        Refuse("The zip archive cannot be read: " + reason + ".");
    }
    zip_error_fini(&error);
    return ZipArchive(std::move(state));
}

std::vector<std::uint8_t> ZipArchive::read(std::size_t member) const {
    const ArchiveMember& m = m_members.at(member);
    const std::string what = "The member \"" + m.name + "\"";
    if (m.size > kMaxArchiveMemberBytes)
        Refuse(TooLarge(what));
    zip_file_t* file = zip_fopen_index(m_state->archive, m_indices[member], 0);
    if (!file)
        Refuse(what + " cannot be unpacked: " + zip_strerror(m_state->archive) + ".");
    // The declared size is not trusted: reading stops one byte past the limit.
    std::vector<std::uint8_t> bytes(std::size_t(std::min<std::uint64_t>(m.size, kMaxArchiveMemberBytes)) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() > kMaxArchiveMemberBytes) {
                zip_fclose(file);
                Refuse(TooLarge(what));
            }
            bytes.resize(std::min<std::size_t>(bytes.size() * 2, kMaxArchiveMemberBytes + 1));
        }
        const zip_int64_t n = zip_fread(file, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            const std::string reason = zip_error_strerror(zip_file_get_error(file));
            zip_fclose(file);
            Refuse(what + " cannot be unpacked: " + reason + ".");
        }
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    zip_fclose(file);
    bytes.resize(got);
    return bytes;
}

std::string GzipStoredName(std::span<const std::uint8_t> gz) {
    if (gz.size() < 10 || gz[0] != 0x1F || gz[1] != 0x8B)
        return {};
    const std::uint8_t flags = gz[3];
    std::size_t at = 10;
    if (flags & 0x04) { // extra field
        if (gz.size() < at + 2)
            return {};
        at += 2 + std::size_t(gz[at] | gz[at + 1] << 8);
    }
    if (!(flags & 0x08))
        return {};
    std::string name;
    for (; at < gz.size() && gz[at] != 0; ++at)
        name += char(gz[at]);
    return at < gz.size() ? name : std::string();
}

std::vector<std::uint8_t> Gunzip(std::span<const std::uint8_t> gz) {
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK)
        Refuse("The gzip file cannot be unpacked: zlib cannot start.");
    std::vector<std::uint8_t> out(
        std::min<std::size_t>(std::max<std::size_t>(gz.size() * 4, 65536), kMaxArchiveMemberBytes + 1));
    z.next_in = const_cast<Bytef*>(gz.data());
    z.avail_in = uInt(std::min<std::size_t>(gz.size(), 0xFFFFFFFFu));
    std::size_t got = 0;
    std::string failure;
    for (;;) {
        if (got == out.size()) {
            if (out.size() > kMaxArchiveMemberBytes) {
                failure = TooLarge("The file inside the gzip archive");
                break;
            }
            out.resize(std::min<std::size_t>(out.size() * 2, kMaxArchiveMemberBytes + 1));
        }
        z.next_out = out.data() + got;
        z.avail_out = uInt(out.size() - got);
        const int status = inflate(&z, Z_NO_FLUSH);
        got = out.size() - z.avail_out;
        if (status == Z_STREAM_END) {
            // Another member may follow; anything else after the stream is ignored, as gzip does.
            if (z.avail_in >= 2 && z.next_in[0] == 0x1F && z.next_in[1] == 0x8B && inflateReset(&z) == Z_OK)
                continue;
            break;
        }
        if (status == Z_BUF_ERROR && z.avail_in == 0 && z.avail_out != 0) {
            failure = "The gzip file is cut short.";
            break;
        }
        if (status != Z_OK && status != Z_BUF_ERROR) {
            failure = std::string("The gzip file is damaged: ") +
                      (z.msg ? z.msg : "its data cannot be inflated") + ".";
            break;
        }
    }
    inflateEnd(&z);
    if (!failure.empty())
        Refuse(failure);
    out.resize(got);
    return out;
}

} // namespace mosaiqua
