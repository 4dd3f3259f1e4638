// SPDX-License-Identifier: GPL-3.0-or-later
// Builds a spreadsheet template (.xltx) from folders of XML parts:
//   make_template OUTPUT FOLDER...
// Parts of later folders replace parts of the same name in earlier ones. Every
// part is checked to be well-formed XML and stored without the indentation of
// its source. [Content_Types].xml comes first, the others in name order, all
// with one fixed time stamp so that the same sources give the same file.
#include <pugixml.hpp>
#include <zip.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool readFile(const fs::path &path, std::string *out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool compact(const std::string &source, std::string *out)
{
    pugi::xml_document doc;
    const pugi::xml_parse_result r =
        doc.load_buffer(source.data(), source.size(), pugi::parse_default | pugi::parse_declaration);
    if (!r) return false;
    std::ostringstream s;
    doc.save(s, "", pugi::format_raw, pugi::encoding_utf8);
    *out = s.str();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_template OUTPUT FOLDER...\n");
        return 2;
    }
    std::map<std::string, fs::path> parts;
    for (int i = 2; i < argc; ++i) {
        const fs::path folder(argv[i]);
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::end(it);
             it.increment(ec)) {
            if (it->is_regular_file()) parts[fs::relative(it->path(), folder).generic_string()] = it->path();
        }
        if (ec) {
            std::fprintf(stderr, "make_template: cannot read %s\n", argv[i]);
            return 1;
        }
    }
    const std::string kTypes = "[Content_Types].xml";
    if (!parts.count(kTypes)) {
        std::fprintf(stderr, "make_template: no %s\n", kTypes.c_str());
        return 1;
    }
    std::vector<std::string> order{kTypes};
    for (const auto &[name, path] : parts)
        if (name != kTypes) order.push_back(name);

    std::vector<std::string> data(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        std::string raw;
        if (!readFile(parts[order[i]], &raw) || !compact(raw, &data[i])) {
            std::fprintf(stderr, "make_template: %s is not well-formed XML\n",
                         parts[order[i]].string().c_str());
            return 1;
        }
    }

    const fs::path output(argv[1]);
    std::error_code ec;
    fs::create_directories(output.parent_path(), ec);
    const fs::path temporary = output.string() + ".part";
    int err = 0;
    zip_t *za = zip_open(temporary.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!za) {
        std::fprintf(stderr, "make_template: cannot create %s\n", temporary.string().c_str());
        return 1;
    }
    std::tm stamp{};
    stamp.tm_year = 2024 - 1900;
    stamp.tm_mon = 0;
    stamp.tm_mday = 1;
    const time_t mtime = std::mktime(&stamp);
    for (size_t i = 0; i < order.size(); ++i) {
        zip_source_t *s = zip_source_buffer(za, data[i].data(), data[i].size(), 0);
        const zip_int64_t index = s ? zip_file_add(za, order[i].c_str(), s, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (s) zip_source_free(s);
            zip_discard(za);
            std::fprintf(stderr, "make_template: cannot add %s\n", order[i].c_str());
            return 1;
        }
        zip_file_set_mtime(za, zip_uint64_t(index), mtime, 0);
    }
    if (zip_close(za) < 0) {
        std::fprintf(stderr, "make_template: cannot write %s\n", temporary.string().c_str());
        zip_discard(za);
        return 1;
    }
    fs::rename(temporary, output, ec);
    if (ec) {
        std::fprintf(stderr, "make_template: cannot write %s\n", output.string().c_str());
        return 1;
    }
    return 0;
}
