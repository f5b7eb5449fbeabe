// The program folder's image tool, "convert". Splitting a TIFF into PNG pages, as the to-PDF TIFF
// worker asks for it ("convert tiff:<file> <folder>/page-%d.png" for every page, or
// "convert tiff:<file>[<page>] <name>.png" for one), is done here with libtiff and libpng; every
// other use (joining page images for the from-PDF side) goes to Debian's ImageMagick with the
// limits of the policy shipped beside this program (imagemagick/policy.xml), and so does each TIFF
// page of a kind TiffPagePng leaves alone.

#include "platform/tools/convert/TiffPagePng.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The pixels of one page: the PDF library takes no larger picture (it would not fit in memory
// once decoded).
constexpr long long maxPagePixels = 300LL * 1000 * 1000;
// The pixels of all pages of one file: more than a thousand A4 pages scanned at 600 dpi. A file
// declaring more (a small hostile file can declare thousands of huge pages) would keep the tool
// writing page files for hours.
constexpr long long maxFilePixels = 40LL * 1000 * 1000 * 1000;

// What the TIFF source argument names: the file, and one page or (-1) all of them.
struct TiffSource
{
    std::string path;
    int page = -1;
};

// "tiff:<path>" or "tiff:<path>[<page>]" with a page number of at most six digits.
bool parseTiffSource(const std::string& argument, TiffSource* source)
{
    const std::string prefix = "tiff:";
    if (argument.size() <= prefix.size() || argument.compare(0, prefix.size(), prefix) != 0)
        return false;
    source->path = argument.substr(prefix.size());
    source->page = -1;
    const size_t open = source->path.rfind('[');
    if (source->path.back() != ']' || open == std::string::npos || open == 0)
        return true;
    const std::string digits = source->path.substr(open + 1, source->path.size() - open - 2);
    if (digits.empty() || digits.size() > 6)
        return true;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return true;
    }
    source->page = std::atoi(digits.c_str());
    source->path.resize(open);
    return true;
}

bool isPngName(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string ending = path.substr(path.size() - 4);
    for (char& c : ending)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ending == ".png";
}

// The output name of a page: "%d" in the name stands for the page number, as ImageMagick has it.
std::string pageName(const std::string& pattern, int page)
{
    std::string name = pattern;
    const size_t at = name.find("%d");
    if (at != std::string::npos)
        name.replace(at, 2, std::to_string(page));
    return name;
}

// The folder of this program (links resolved), where imagemagick/policy.xml lies.
std::string programFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    const std::string program(path, size_t(length));
    return program.substr(0, program.rfind('/'));
}

// Runs ImageMagick in place of this program: it never returns unless ImageMagick cannot start.
int execImageMagick(char** argv)
{
    const std::string configuration = programFolder() + "/imagemagick";
    setenv("MAGICK_CONFIGURE_PATH", configuration.c_str(), 1);
    // Called by full path, so that /usr/local/bin or PATH order cannot put another convert in
    // its place.
    execv(QP_IMAGEMAGICK_CONVERT, argv);
    std::perror("convert: " QP_IMAGEMAGICK_CONVERT);
    return 127;
}

// One page through ImageMagick, as a child; true when it succeeded.
bool runImageMagick(const std::string& tiff, int page, const std::string& png)
{
    std::string source = "tiff:" + tiff + "[" + std::to_string(page) + "]";
    std::string target = png;
    char name[] = "convert";
    char* argv[] = {name, &source[0], &target[0], nullptr};
    const pid_t child = fork();
    if (child == 0)
        _exit(execImageMagick(argv));
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Each page asked for, in order; exit code 0 when every one was written, 1 at the first that was
// not (no file is left for it).
int splitTiff(const TiffSource& source, const std::string& pattern)
{
    const int first = source.page >= 0 ? source.page : 0;
    const int end = source.page >= 0 ? source.page + 1 : tiffPageCount(source.path);
    if (end <= first)
        return 1;
    // Refused from the headers alone, before any page is written.
    const TiffDeclaredPixels declared = tiffDeclaredPixels(source.path, first, end);
    if (declared.largestPage > maxPagePixels || declared.total > maxFilePixels) {
        std::fprintf(stderr, "convert: %s declares more pixels than the picture limits (%lld on one page, %lld in all)\n",
                     source.path.c_str(), declared.largestPage, declared.total);
        return 1;
    }
    for (int page = first; page < end; ++page) {
        const std::string png = pageName(pattern, page);
        switch (writeTiffPageAsPng(source.path, page, png)) {
        case TiffPageOutcome::Written:
            break;
        case TiffPageOutcome::Unreadable:
            return 1;
        case TiffPageOutcome::NotHandled:
            if (!runImageMagick(source.path, page, png)) {
                std::remove(png.c_str());
                return 1;
            }
            break;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    TiffSource source;
    if (argc == 3 && parseTiffSource(argv[1], &source) && isPngName(argv[2])
        && (source.page >= 0 || std::string(argv[2]).find("%d") != std::string::npos))
        return splitTiff(source, argv[2]);
    return execImageMagick(argv);
}
