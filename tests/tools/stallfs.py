#!/usr/bin/python3
"""A file system that stopped answering: its files list and open at once, but a read of one
never returns while it is mounted (a network share whose server went away). Worse, in the folder
"hung" even the lookup of a name (a stat) never returns, nor does the folder's listing. SIGUSR1
answers the calls waiting at that moment (reads with zeros, as a server back for a moment, and
lookups in "hung" with no such file); later ones wait again. The kernel looks names up in a
folder one at a time, so a stuck lookup holds only its own folder.
Usage: stallfs.py MOUNTPOINT"""
import errno
import signal
import stat
import sys

import pyfuse3
import trio

# name: size; the suffixes send each to its own viewer, and a name without one to the content's sniff
FILES = {"stalled": 8_000, "stalled.txt": 4_000, "stalled.png": 120_000, "stalled.gif": 80_000,
         "stalled.pdf": 300_000, "stalled.mp3": 3_000_000, "stalled.zip": 50_000, "stalled.ttf": 60_000}
HUNG = b"hung"


class StallFs(pyfuse3.Operations):
    def __init__(self):
        super().__init__()
        self.inodes = {pyfuse3.ROOT_INODE + 1 + i: name.encode() for i, name in enumerate(FILES)}
        self.hung = pyfuse3.ROOT_INODE + 1 + len(FILES)
        self.answer = trio.Event()

    def attributes(self, inode):
        entry = pyfuse3.EntryAttributes()
        entry.st_ino = inode
        if inode in (pyfuse3.ROOT_INODE, self.hung):
            entry.st_mode = stat.S_IFDIR | 0o755
            entry.st_nlink = 2
        elif inode in self.inodes:
            entry.st_mode = stat.S_IFREG | 0o644
            entry.st_nlink = 1
            entry.st_size = FILES[self.inodes[inode].decode()]
        else:
            raise pyfuse3.FUSEError(errno.ENOENT)
        entry.st_atime_ns = entry.st_mtime_ns = entry.st_ctime_ns = 1_700_000_000 * 10**9
        entry.attr_timeout = entry.entry_timeout = 300
        return entry

    async def getattr(self, inode, ctx=None):
        return self.attributes(inode)

    async def lookup(self, parent_inode, name, ctx=None):
        if parent_inode == self.hung:
            await self.answer.wait()
            raise pyfuse3.FUSEError(errno.ENOENT)
        for inode, known in [*self.inodes.items(), (self.hung, HUNG)]:
            if parent_inode == pyfuse3.ROOT_INODE and known == name:
                return self.attributes(inode)
        raise pyfuse3.FUSEError(errno.ENOENT)

    async def opendir(self, inode, ctx):
        if inode not in (pyfuse3.ROOT_INODE, self.hung):
            raise pyfuse3.FUSEError(errno.ENOTDIR)
        return inode

    async def readdir(self, fh, start_id, token):
        if fh == self.hung:
            await self.answer.wait()
            return
        for inode, name in [*self.inodes.items(), (self.hung, HUNG)]:
            if inode > start_id and not pyfuse3.readdir_reply(token, name, self.attributes(inode), inode):
                return

    async def open(self, inode, flags, ctx):
        if inode not in self.inodes:
            raise pyfuse3.FUSEError(errno.EISDIR)
        return pyfuse3.FileInfo(fh=inode, direct_io=True)

    async def read(self, fh, off, size):
        await self.answer.wait()
        return bytes(max(0, min(size, FILES[self.inodes[fh].decode()] - off)))

    async def answer_on_signal(self):
        with trio.open_signal_receiver(signal.SIGUSR1) as signals:
            async for _ in signals:
                self.answer.set()
                self.answer = trio.Event()


async def serve(fs):
    async with trio.open_nursery() as nursery:
        nursery.start_soon(fs.answer_on_signal)
        await pyfuse3.main()
        nursery.cancel_scope.cancel()


def main():
    fs = StallFs()
    pyfuse3.init(fs, sys.argv[1], {"fsname=stallfs", "ro"})
    try:
        trio.run(serve, fs)
    finally:
        pyfuse3.close(unmount=False)


if __name__ == "__main__":
    main()
