#pragma once

#include <QByteArray>

// Puts new contents into an existing or new file so that an interruption
// leaves the old text or the new one, and the file stays the user's: its
// owner, group, mode, extended attributes, hard links and the symbolic link
// that leads to it all survive.
//
// Where the folder can be written, the new text goes to a temporary file that
// is synced, given the old file's owner, group, mode and attributes and
// renamed over it, and the folder is synced so that the new name survives a
// power cut. A new file is created the same way, with the mode the umask
// leaves. A symbolic link is followed (a dangling one gets its target
// created, as the system's own file creation does), and the link stays.
//
// A file with more than one name, one in a folder that cannot be written, or
// one whose owner the writer cannot give to a copy is rewritten in place, so
// every name sees the change and the file keeps what it had. That path stops
// before the first byte when the disk or the size limit cannot take the new
// text, and it changes the file with one write call whose result means the
// old or the new text at any moment: a shorter text is first padded with
// blanks, which readers ignore, and only then cut. A kill cannot split one
// write call of up to a page (4 KiB), so a file that size (a settings file
// is far smaller) never reads half-written after a crash of the program; a
// power cut during that call may leave any mix of old and new disk blocks, as
// with every update in place.
//
// (That is the Linux implementation; elsewhere the toolkit's safe save, with
// its fallback to writing in place, stands in.)
//
// Temporary files are unnamed where the system has them, and named
// ".<file name>.tmp-XXXXXXXX" while they are being renamed or where the
// system has no unnamed ones. A writer holds a lock on its temporary file, and
// each write removes the unlocked ones it finds for the same file, left by a
// writer that died, so none stays behind.
namespace FileReplacement {

enum class Temporary { Unnamed, Named };

// `path` is in the local 8-bit encoding of file names. `filler` is a short
// byte string that may be repeated after `bytes` without changing what they
// mean (a blank in the text's encoding). `temporary` chooses named temporary
// files even where unnamed ones exist.
bool replace(const QByteArray& path, const QByteArray& bytes, const QByteArray& filler,
             Temporary temporary = Temporary::Unnamed);

// Every temporary file for `fileName` starts with this.
QByteArray temporaryPrefix(const QByteArray& fileName);

}  // namespace FileReplacement
