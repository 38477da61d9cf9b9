"""Appends whole files to another with the kernel's copy (sendfile), so the
bytes never pass through Python, or puts them in place of it."""
import os

CHUNK = 1 << 30


def append_files(sources, dest):
    """Appends each source to dest in order; dest is created (0664 less the
    umask, as the command makes it) when missing. A missing dest on the first
    source's file system is made a hard link to it, which copies nothing; the
    sources are scratch files dropped afterwards. sendfile refuses an O_APPEND
    target, so the end is sought instead: one writer at a time is assumed."""
    if sources:
        try:
            os.link(sources[0], dest)
            sources = sources[1:]
        except OSError:
            pass  # dest exists, or lies on another file system: copied below
    out = os.open(dest, os.O_WRONLY | os.O_CREAT, 0o664)
    try:
        os.lseek(out, 0, os.SEEK_END)
        for source in sources:
            inp = os.open(source, os.O_RDONLY)
            try:
                offset, size = 0, os.fstat(inp).st_size
                while offset < size:
                    sent = os.sendfile(out, inp, offset, min(CHUNK, size - offset))
                    if sent == 0:
                        raise OSError(f"{source}: shorter than its size")
                    offset += sent
            finally:
                os.close(inp)
    finally:
        os.close(out)



def write_beside(sources, dest):
    """Writes the sources, joined in order, whole under a temporary name
    beside dest, with dest's permissions when dest exists; returns that name,
    for os.replace once every output is written (as the command's -r does)."""
    temporary = f"{dest}.tmp{os.getpid()}"
    try:
        if os.path.lexists(temporary):
            os.unlink(temporary)
        append_files(sources, temporary)
        try:
            os.chmod(temporary, os.stat(dest).st_mode & 0o7777)
        except FileNotFoundError:
            pass
    except OSError:
        if os.path.lexists(temporary):
            os.unlink(temporary)
        raise
    return temporary
