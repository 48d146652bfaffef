// libisofs as its Windows build has it (packaging/windows/build-libisofs.sh):
// the three traps that gave wrong images without a word, and the names that
// go through the build's own iconv. Each case writes an image into memory
// and reads it back with libisofs, as a reader of the disc would.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <windows.h>

#define LIBISOFS_WITHOUT_LIBBURN 1
#include <libisofs/libisofs.h>

// The library's own fnmatch (packaging/windows/libisofs/compat.c).
extern "C" int fnmatch(const char* pattern, const char* string, int flags);

namespace {

int failures = 0;

void Check(bool ok, const std::string& what)
{
    if (!ok) {
        ++failures;
        std::printf("libisofs_traps: FAIL %s\n", what.c_str());
    }
}

std::vector<uint8_t> Write(IsoImage* image)
{
    IsoWriteOpts* opts = nullptr;
    iso_write_opts_new(&opts, 0);
    iso_write_opts_set_iso_level(opts, 3);
    iso_write_opts_set_rockridge(opts, 1);
    iso_write_opts_set_joliet(opts, 1);
    iso_write_opts_set_joliet_longer_paths(opts, 1);
    iso_write_opts_set_output_charset(opts, "UTF-8");
    std::vector<uint8_t> bytes;
    burn_source* source = nullptr;
    if (iso_image_create_burn_source(image, opts, &source) >= 0) {
        uint8_t block[2048];
        while (source->read_xt(source, block, sizeof block) == sizeof block)
            bytes.insert(bytes.end(), block, block + sizeof block);
        source->free_data(source);
        std::free(source);
    }
    iso_write_opts_free(opts);
    return bytes;
}

int ReadBlock(IsoDataSource* source, uint32_t lba, uint8_t* buffer)
{
    const auto* bytes = static_cast<const std::vector<uint8_t>*>(source->data);
    if ((size_t(lba) + 1) * 2048 > bytes->size())
        return ISO_DATA_SOURCE_FAILURE;
    std::memcpy(buffer, bytes->data() + size_t(lba) * 2048, 2048);
    return 1;
}

// The image as a reader sees its Joliet tree (or, without, the ISO 9660 one).
IsoImage* ReadBack(const std::vector<uint8_t>& bytes, bool joliet)
{
    auto* source = static_cast<IsoDataSource*>(std::calloc(1, sizeof(IsoDataSource)));
    source->refcount = 1;
    source->open = [](IsoDataSource*) { return 1; };
    source->close = [](IsoDataSource*) { return 1; };
    source->read_block = ReadBlock;
    source->free_data = [](IsoDataSource*) {};
    source->data = const_cast<std::vector<uint8_t>*>(&bytes);
    IsoImage* image = nullptr;
    IsoReadOpts* opts = nullptr;
    IsoReadImageFeatures* features = nullptr;
    iso_image_new("", &image);
    iso_read_opts_new(&opts, 0);
    iso_read_opts_set_no_rockridge(opts, 1);
    iso_read_opts_set_no_joliet(opts, joliet ? 0 : 1);
    iso_read_opts_set_no_iso1999(opts, 1);
    const int imported = iso_image_import(image, source, opts, &features);
    iso_read_opts_free(opts);
    iso_data_source_unref(source);
    if (features)
        iso_read_image_features_destroy(features);
    Check(imported >= 0, "image read back: " + std::string(iso_error_to_msg(imported)));
    return image;
}

std::string Content(IsoImage* image, const std::string& path)
{
    IsoNode* node = nullptr;
    if (iso_tree_path_to_node(image, path.c_str(), &node) != 1 ||
        iso_node_get_type(node) != LIBISO_FILE)
        return "(missing)";
    IsoStream* stream = iso_file_get_stream(reinterpret_cast<IsoFile*>(node));
    std::string content;
    char piece[4096];
    int n = 0;
    if (iso_stream_open(stream) < 0)
        return "(unreadable)";
    while ((n = iso_stream_read(stream, piece, sizeof piece)) > 0)
        content.append(piece, size_t(n));
    iso_stream_close(stream);
    return content;
}

void AddMemoryFile(IsoImage* image, IsoDir* dir, const std::string& name,
                   const std::string& content)
{
    auto* bytes = static_cast<unsigned char*>(std::malloc(content.size()));
    std::memcpy(bytes, content.data(), content.size());
    IsoStream* stream = nullptr;
    iso_memory_stream_new(bytes, content.size(), &stream);
    const int added = iso_image_add_new_file(image, dir, name.c_str(), stream, nullptr);
    Check(added > 0, "add " + name + ": " + iso_error_to_msg(added));
}

void WriteDiskFile(const std::string& path, const std::string& content)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    Check(file && std::fwrite(content.data(), 1, content.size(), file) == content.size(),
          "write " + path);
    if (file)
        std::fclose(file);
}

// (1) Windows' stat gives every file inode 0: two files of one size are
// still two. (3) The disk's files go by Windows paths. Both through
// libisofs's own local file system.
void DiskFiles(const std::string& folder)
{
    const std::string one(3000, '1'), two(3000, '2');
    CreateDirectoryA((folder + "\\sub").c_str(), nullptr);
    WriteDiskFile(folder + "\\one.bin", one);
    WriteDiskFile(folder + "\\two.bin", two);
    WriteDiskFile(folder + "\\sub\\inner.txt", "inner");
    std::string posix = folder.substr(2); // the current drive's path with slashes
    for (char& c : posix)
        c = c == '\\' ? '/' : c;
    std::string lower = folder;
    lower[0] = char(lower[0] | 0x20);
    const struct
    {
        std::string name, path, content;
    } files[] = {
        {"same1.bin", posix + "/one.bin", one},
        {"same2.bin", posix + "/two.bin", two},
        {"back.bin", folder + "\\two.bin", two},
        {"forward.bin", folder.substr(0, 2) + posix + "/one.bin", one},
        {"mixed.txt", folder + "\\sub/inner.txt", "inner"},
        {"lower.bin", lower + "\\two.bin", two},
    };
    IsoImage* image = nullptr;
    iso_image_new("T", &image);
    for (const auto& f : files) {
        const int added = iso_tree_add_new_node(image, iso_image_get_root(image), f.name.c_str(),
                                                f.path.c_str(), nullptr);
        Check(added > 0, "add " + f.path + ": " + iso_error_to_msg(added));
    }
    IsoDir* dir = nullptr;
    iso_image_add_new_dir(image, iso_image_get_root(image), "folder", &dir);
    const int tree = iso_tree_add_dir_rec(image, dir, (folder + "\\sub").c_str());
    Check(tree > 0, "add folder " + folder + "\\sub: " + iso_error_to_msg(tree));
    // An external filter needs fork(): refused, and the file stays as it is.
    IsoNode* node = nullptr;
    char* argv[] = {const_cast<char*>("cmd.exe"), nullptr};
    IsoExternalFilterCommand filter = {0, 0, nullptr, argv[0], 1, argv, 0, nullptr};
    iso_tree_path_to_node(image, "/same1.bin", &node);
    Check(iso_file_add_external_filter(reinterpret_cast<IsoFile*>(node), &filter, 0) < 0,
          "an external filter refused");
    const std::vector<uint8_t> bytes = Write(image);
    iso_image_unref(image);
    IsoImage* back = ReadBack(bytes, true);
    for (const auto& f : files)
        Check(Content(back, "/" + f.name) == f.content, f.name + " has the bytes of " + f.path);
    Check(Content(back, "/folder/inner.txt") == "inner", "folder/inner.txt has its bytes");
    iso_image_unref(back);
}

// off_t of 64 bits: a file beyond 4 GiB keeps its size (a sparse one,
// added but not written).
void LargeFile(const std::string& folder)
{
    const std::string path = folder + "\\large.bin";
    const LONGLONG size = 5LL << 30;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size;
    Check(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file), "make " + path);
    CloseHandle(file);
    IsoImage* image = nullptr;
    IsoNode* node = nullptr;
    iso_image_new("T", &image);
    iso_tree_add_new_node(image, iso_image_get_root(image), "large.bin", path.c_str(), &node);
    Check(node && iso_file_get_size(reinterpret_cast<IsoFile*>(node)) == size, "size of " + path);
    iso_image_unref(image);
}

// (2) mingw's ino_t has 16 bits: the 65,537th stream took the first one's
// serial number, and so its content.
void ManyStreams()
{
    constexpr int Count = 65537, PerFolder = 1024;
    IsoImage* image = nullptr;
    iso_image_new("T", &image);
    IsoDir* dir = nullptr;
    for (int i = 0; i < Count; ++i) {
        if (i % PerFolder == 0)
            iso_image_add_new_dir(image, iso_image_get_root(image),
                                  std::to_string(i / PerFolder).c_str(), &dir);
        AddMemoryFile(image, dir, std::to_string(i), std::to_string(1000000 + i));
    }
    const std::vector<uint8_t> bytes = Write(image);
    iso_image_unref(image);
    IsoImage* back = ReadBack(bytes, true);
    int wrong = 0;
    for (int i = 0; i < Count; ++i) {
        char path[32];
        std::snprintf(path, sizeof path, "/%d/%d", i / PerFolder, i);
        wrong += Content(back, path) != std::to_string(1000000 + i);
    }
    Check(wrong == 0, std::to_string(wrong) + " of 65,537 files without their own bytes");
    iso_image_unref(back);
}

// The names a Linux build writes for the same UTF-8 names, read back as
// there: Joliet keeps the names of the Basic Multilingual Plane and puts '_'
// for a character beyond it, ISO 9660 one '_' for each character outside
// ASCII (not two for a pair of UTF-16 halves).
void Names()
{
    const struct
    {
        const char *name, *joliet, *iso9660;
    } names[] = {
        {"Übersicht.txt", "Übersicht.txt", "_BERSICHT.TXT"},
        {"Ελληνικά.txt", "Ελληνικά.txt", "________.TXT"},
        {"文档.txt", "文档.txt", "__.TXT"},
        {"😀.txt", "_.txt", "_.TXT"},
        {"a😀b", "a_b", "A_B"},
    };
    IsoImage* image = nullptr;
    iso_image_new("T", &image);
    for (const auto& n : names)
        AddMemoryFile(image, iso_image_get_root(image), n.name, "x");
    const std::vector<uint8_t> bytes = Write(image);
    iso_image_unref(image);
    for (const bool joliet : {true, false}) {
        IsoImage* back = ReadBack(bytes, joliet);
        for (const auto& n : names) {
            const std::string shown = joliet ? n.joliet : n.iso9660;
            Check(Content(back, "/" + shown) == "x",
                  std::string(n.name) + " read back as " + shown);
        }
        iso_image_unref(back);
    }
}

void Patterns()
{
    const struct
    {
        const char *pattern, *string;
        int flags;
        bool match;
    } cases[] = {
        {"*.txt", "a.txt", 0, true}, {"*.txt", "a.txt.bak", 0, false},
        {"a?c", "abc", 0, true},     {"a?c", "a/c", 2, false},
        {"*", "dir/file", 2, false}, {"*/*", "dir/file", 2, true},
        {"*", ".hidden", 4, false},  {".*", ".hidden", 4, true},
        {"[a-c]x", "bx", 0, true},   {"[!a-c]x", "bx", 0, false},
        {"[]]", "]", 0, true},       {"\\*", "*", 0, true},
        {"\\*", "a", 0, false},      {"/tmp/*/*.o", "/tmp/b/.o", 2 | 4, false},
    };
    for (const auto& c : cases)
        Check((fnmatch(c.pattern, c.string, c.flags) == 0) == c.match,
              std::string("fnmatch ") + c.pattern + " on " + c.string);
}

} // namespace

int main()
{
    iso_init();
    iso_set_local_charset(const_cast<char*>("UTF-8"), 0);
    // On the current drive: a path without one is on it, for Windows, and
    // the Unix path of the same place, for Wine.
    char here[MAX_PATH];
    GetCurrentDirectoryA(sizeof here, here);
    const std::string folder =
        std::string(here) + "\\libisofs_traps." + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    DiskFiles(folder);
    LargeFile(folder);
    ManyStreams();
    Names();
    Patterns();
    for (const char* name :
         {"\\sub\\inner.txt", "\\one.bin", "\\two.bin", "\\large.bin", "\\sub", ""})
        DeleteFileA((folder + name).c_str()) || RemoveDirectoryA((folder + name).c_str());
    iso_finish();
    std::printf("libisofs_traps: %s\n", failures ? "FAILED" : "all passed");
    return failures ? 1 : 0;
}
