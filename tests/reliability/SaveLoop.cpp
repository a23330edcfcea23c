// lumotrix-save-loop FILE: saves the two images of SaveLoopImages.h over FILE in turn with
// MapFile::save, until killed. Writes "b" to standard output before each save and "e" after
// it, so that whoever kills it can tell whether the kill landed inside a save. A save that
// fails writes "f", its reason on standard error, and ends the program with exit code 1.
#include <unistd.h>

#include <QString>
#include <cstdio>

#include "Errors.h"
#include "MapFile.h"
#include "SaveLoopImages.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lumotrix-save-loop FILE\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    MapImage images[2];
    images[0].assign(saveLoopImage(0));
    images[1].assign(saveLoopImage(1));
    for (int n = 0;; n = 1 - n) {
        if (::write(STDOUT_FILENO, "b", 1) != 1) {
            return 1;
        }
        try {
            MapFile::save(path, images[n]);
        } catch (const FileError& e) {
            (void)!::write(STDOUT_FILENO, "f", 1);
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
        if (::write(STDOUT_FILENO, "e", 1) != 1) {
            return 1;
        }
    }
}
