// Keeps Pirolo.Exe small. The C++ runtime that mingw-w64 links statically
// was built with exceptions, and its objects cannot be trimmed: using
// std::wstring alone brings in every string instantiation, the exception
// classes and the unwinder, some 130 KB of a 175 KB file. The launcher is
// built without exceptions and instead supplies the few pieces that the
// string code asks for. Nothing here is reachable except when memory runs
// out or a string would exceed its maximum size; the launcher then ends at
// once, which is all it could do after an exception as well.

#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>

void* operator new(std::size_t size)
{
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    std::abort();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

// The library's own versions of these throw; ending is what an uncaught
// exception would do too. Should a newer compiler ask for one more of them,
// the link fails on a duplicate definition: add that one here.
namespace std {

void __throw_bad_alloc()
{
    std::abort();
}

void __throw_bad_array_new_length()
{
    std::abort();
}

void __throw_logic_error(const char*)
{
    std::abort();
}

void __throw_length_error(const char*)
{
    std::abort();
}

void __throw_out_of_range_fmt(const char*, ...)
{
    std::abort();
}

// Instantiated here, without exceptions, so that the linker keeps only the
// members in use instead of the library's prebuilt copy.
template class basic_string<wchar_t>;

} // namespace std
