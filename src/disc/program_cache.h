#pragma once
// Programs on a CD image cannot start where they are: each is copied, with the folder it stands
// in and everything below, into the user's own cache, CACHE/kestrova/discs/VOLUME-HASH/, keeping
// the disc's layout, and started from there. The hash covers every file the image reads (for a
// cue sheet, the sheet and its data files: which file each is, its size and its time) and the
// volume, so a changed or another image never meets this one's copies.
//
// The cache is the user's alone. It lies in a cache folder owned by the user or nowhere; every
// folder from CACHE/kestrova down is owner-only (0700), entered without following a link, and
// refused when it is a link or another user's. A copy is kept only while its bytes are the
// image's. Copies are made one at a time, across processes too.

#include "disc/image_file_system.h"

#include <atomic>
#include <string>

namespace kestrova {

// The user's own cache folder: $XDG_CACHE_HOME when it is an absolute path, else $HOME/.cache
// when HOME is one; empty when neither is (there is no shared fallback).
std::string UserCacheFolder();

struct CopiedFile {
    std::string file;     // the copy of the file asked for
    std::string discRoot; // where the disc root lies in the cache, ending with "/"
};

// Copies the file `discPath` of `image` below `cacheFolder`/kestrova/discs: with the folder it
// stands in and everything below when `withFolder` (a program), alone otherwise (a document).
// The program, and files that are programs by their header or their Rock Ridge mode, are made
// executable (0755), every other file 0644. Copies already there are kept when they hold the
// image's bytes. Entries of the image sharing one extent are the same bytes: they are written
// once and linked. One copy writes no more than its files hold, each extent counted once, and at
// most kMaxProgramCopyBytes; a folder holding more is refused before anything is written.
//
// Fails with kestrova::Error naming the reason: no cache folder of the user's own, a link or
// another user's folder in the cache, the image's folders loop or nest too deep, more than the
// copy ceiling, a write that fails, `stop` set. A failed copy removes the files and folders it
// made. `stop`, when given, is looked at while waiting for the cache and between pieces written.
CopiedFile CopyOutOfImage(const ImageFileSystem& image, const std::string& discPath,
                          bool withFolder, const std::string& cacheFolder,
                          const std::atomic<bool>* stop = nullptr);

} // namespace kestrova
