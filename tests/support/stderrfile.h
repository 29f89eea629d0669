// Standard error sent to a file for a while, for tests that read what a
// library prints there.
#pragma once

#include <QFile>
#include <QString>

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

class StderrToFile {
public:
    explicit StderrToFile(const QString& path)
    {
        std::fflush(stderr);
        saved_ = Dup(Fileno(stderr));
        file_ = std::fopen(QFile::encodeName(path).constData(), "w");
        if (file_)
            Dup2(Fileno(file_), Fileno(stderr));
    }
    ~StderrToFile()
    {
        std::fflush(stderr);
        if (saved_ >= 0) {
            Dup2(saved_, Fileno(stderr));
            Close(saved_);
        }
        if (file_)
            std::fclose(file_);
    }
    StderrToFile(const StderrToFile&) = delete;
    StderrToFile& operator=(const StderrToFile&) = delete;

private:
#ifdef _WIN32
    static int Fileno(std::FILE* f) { return _fileno(f); }
    static int Dup(int fd) { return _dup(fd); }
    static int Dup2(int from, int to) { return _dup2(from, to); }
    static int Close(int fd) { return _close(fd); }
#else
    static int Fileno(std::FILE* f) { return fileno(f); }
    static int Dup(int fd) { return dup(fd); }
    static int Dup2(int from, int to) { return dup2(from, to); }
    static int Close(int fd) { return close(fd); }
#endif

    int saved_ = -1;
    std::FILE* file_ = nullptr;
};
