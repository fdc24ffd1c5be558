// Stands in for a started program: appends its arguments, one per line after a
// "---" line, to the file named by ARGRECORDER_LOG, then ends.
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    const char *log = std::getenv("ARGRECORDER_LOG");
    if (!log)
        return 2;
    std::FILE *f = std::fopen(log, "ab");
    if (!f)
        return 3;
    std::fputs("---\n", f);
    for (int i = 1; i < argc; ++i) {
        std::fputs(argv[i], f);
        std::fputc('\n', f);
    }
    std::fclose(f);
    return 0;
}
