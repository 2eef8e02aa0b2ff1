#!/usr/bin/python3
"""Read-only FTPS server (explicit TLS) on 127.0.0.1 for tests and demos.

Serves one folder to one account. Clients secure the control connection with
AUTH TLS before logging in; data connections stay in the clear (PROT C).
Prints "READY <port>" on stdout once the listening socket is up, and exits
cleanly on SIGTERM or SIGINT.

Fault injection (all off by default):
  --drop-after BYTES   a RETR of a file bigger than BYTES sends exactly BYTES
                       bytes, then the data connection is closed and the
                       control connection is reset, without a reply
  --refuse-login       every PASS is answered with 530
  --slow-ms MS         every command's reply (and the greeting) comes MS ms late;
                       the 226 that ends a transfer comes at once
  --slow-data-ms MS    a RETR pauses MS ms before every data chunk (64 KiB)
  --idle-timeout S     an idle control connection is closed after S seconds
  --no-mlsd            MLSD and MLST are unknown commands
  --list-style STYLE   LIST lines as "unix" (ls -l), "dos" (IIS, 2-digit
                       years) or "dos4" (IIS, 4-digit years)

Needs the Debian packages python3-pyftpdlib and python3-openssl: run it with
/usr/bin/python3.
"""

import argparse
import collections
import itertools
import logging
import os
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time

from OpenSSL import SSL
from pyftpdlib.authorizers import AuthenticationFailed, DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler
from pyftpdlib.servers import FTPServer

DEFAULT_USER = "zvodl@zvofamily.example"
DEFAULT_PASSWORD = "V12dlSecret!"

# Largest piece handed to send(); --slow-data-ms pauses before each.
DATA_CHUNK = 65536


def parse_args(argv):
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--root", required=True, help="folder served as /")
    p.add_argument("--user", default=DEFAULT_USER)
    p.add_argument("--password", default=DEFAULT_PASSWORD)
    p.add_argument("--port", type=int, default=0, help="0 picks a free port")
    p.add_argument("--cert", help="PEM with certificate and key; made here "
                   "when the file does not exist yet (reused afterwards)")
    p.add_argument("--drop-after", type=int, default=None, metavar="BYTES")
    p.add_argument("--refuse-login", action="store_true")
    p.add_argument("--slow-ms", type=int, default=0, metavar="MS")
    p.add_argument("--slow-data-ms", type=int, default=0, metavar="MS")
    p.add_argument("--idle-timeout", type=float, default=0, metavar="SECONDS")
    p.add_argument("--no-mlsd", action="store_true")
    p.add_argument("--list-style", choices=("unix", "dos", "dos4"),
                   default="unix")
    p.add_argument("--log", metavar="FILE",
                   help="append one line per connection event and command")
    p.add_argument("--exit-on-stdin-eof", action="store_true",
                   help="stop when stdin closes (the parent went away)")
    p.add_argument("--verbose", action="store_true",
                   help="pyftpdlib's own log on stderr")
    args = p.parse_args(argv)
    if not os.path.isdir(args.root):
        p.error("root folder does not exist: %s" % args.root)
    if args.drop_after is not None and args.drop_after < 0:
        p.error("--drop-after needs a byte count >= 0")
    return args


def ensure_certificate(path):
    """Self-signed certificate and key in one PEM file at path."""
    if os.path.isfile(path) and os.path.getsize(path) > 0:
        return path
    folder = os.path.dirname(os.path.abspath(path))
    os.makedirs(folder, exist_ok=True)
    with tempfile.TemporaryDirectory(dir=folder) as tmp:
        key, crt = os.path.join(tmp, "key.pem"), os.path.join(tmp, "crt.pem")
        # An EC key takes milliseconds where RSA takes most of a second, and
        # its ECDHE-ECDSA suites cover TLS 1.0 to 1.2 alike.
        cmd = ["openssl", "req", "-x509", "-newkey", "ec",
               "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
               "-keyout", key, "-out", crt, "-days", "3650",
               "-subj", "/CN=127.0.0.1", "-batch"]
        try:
            run = subprocess.run(cmd, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.PIPE, check=False)
        except OSError as err:
            sys.exit("ftps_server: cannot run openssl: %s" % err)
        if run.returncode != 0:
            sys.exit("ftps_server: openssl failed: %s"
                     % run.stderr.decode(errors="replace").strip())
        combined = os.path.join(tmp, "server.pem")
        with open(combined, "wb") as out:
            for part in (crt, key):
                with open(part, "rb") as f:
                    out.write(f.read())
        # Atomic, so two servers starting at once never read half a file.
        os.replace(combined, path)
    return path


def make_ssl_context(pem):
    ctx = SSL.Context(SSL.TLS_METHOD)
    ctx.set_min_proto_version(SSL.TLS1_VERSION)
    ctx.set_max_proto_version(SSL.TLS1_2_VERSION)
    # OpenSSL 3 refuses TLS 1.0/1.1 at the default security level.
    ctx.set_cipher_list(b"DEFAULT:@SECLEVEL=0")
    ctx.set_options(SSL.OP_NO_SSLv2 | SSL.OP_NO_SSLv3 | SSL.OP_NO_COMPRESSION)
    ctx.use_certificate_chain_file(pem)
    ctx.use_privatekey_file(pem)
    return ctx


class EventLog:
    """One flushed line per event, written before the server replies, so a
    client that got its reply can already read the line."""

    def __init__(self, path):
        self._file = open(path, "a", encoding="utf-8") if path else None

    def write(self, conn_id, text):
        if self._file:
            self._file.write("%d %s\n" % (conn_id, text))
            self._file.flush()


def dos_time(st_mtime, use_gmt, four_digit_year):
    t = time.gmtime(st_mtime) if use_gmt else time.localtime(st_mtime)
    date = time.strftime("%m-%d-%Y" if four_digit_year else "%m-%d-%y", t)
    return "%s  %s" % (date, time.strftime("%I:%M%p", t))


class DosListingFS(AbstractedFS):
    """LIST lines as IIS writes them in its MS-DOS style:
    12-11-26  01:02PM       <DIR>          Name
    12-11-26  01:02PM                 1234 file.zip"""

    four_digit_year = False

    def format_list(self, basedir, listing, ignore_err=True):
        use_gmt = self.cmd_channel.use_gmt_times
        for basename in listing:
            try:
                st = self.lstat(os.path.join(basedir, basename))
            except OSError:
                if ignore_err:
                    continue
                raise
            stamp = dos_time(st.st_mtime, use_gmt, self.four_digit_year)
            if os.path.isdir(os.path.join(basedir, basename)):
                field = "       <DIR>         "
            else:
                field = "%21d" % st.st_size
            line = "%s%s %s\r\n" % (stamp, field, basename)
            yield line.encode("utf8", self.cmd_channel.unicode_errors)


class Dos4ListingFS(DosListingFS):
    four_digit_year = True


class RefusingAuthorizer(DummyAuthorizer):
    def validate_authentication(self, username, password, handler):
        raise AuthenticationFailed("Login refused.")


class FaultDTPHandler(TLS_DTPHandler):
    drop_after = None   # bytes, or None
    slow_data_s = 0.0

    def __init__(self, sock, cmd_channel):
        self._dropping = False
        self._paused_once = False
        self._pause = None
        super().__init__(sock, cmd_channel)

    def use_sendfile(self):
        # sendfile() bypasses send(), where the faults live.
        return False

    def _is_retr(self):
        # Listings carry no file object; only file downloads get the faults.
        return self.file_obj is not None and not self.receive

    def _drop_limit(self):
        """Bytes this transfer may send before the drop, or None."""
        if self.drop_after is None or not self._is_retr():
            return None
        try:
            size = os.fstat(self.file_obj.fileno()).st_size
        except (OSError, ValueError):
            return None
        return self.drop_after if size > self.drop_after else None

    def send(self, data):
        if self._dropping:
            return 0
        if self.slow_data_s and self._is_retr() and not self._paused_once:
            # Stall before the first byte too, so a client's low-speed
            # check fires without an initial burst to average in.
            self._paused_once = True
            self._sleep()
            return 0
        limit = self._drop_limit()
        data = data[:DATA_CHUNK]
        if limit is not None:
            data = data[:max(0, limit - self.tot_bytes_sent)]
        sent = super().send(data) if data else 0
        if limit is not None and self.tot_bytes_sent >= limit:
            self._dropping = True
            # Not from inside send(): asynchat still holds the buffer.
            self.ioloop.call_later(0, self._drop, _errback=self.handle_error)
        elif self.slow_data_s and sent and self._is_retr():
            self._sleep()
        return sent

    def _sleep(self):
        self.del_channel()

        def wake():
            self._pause = None
            if not self._closed:
                self.add_channel(events=self.ioloop.WRITE)

        self._pause = self.ioloop.call_later(self.slow_data_s, wake,
                                             _errback=self.handle_error)

    def _drop(self):
        cmd = self.cmd_channel
        cmd.event("DROP after %d bytes" % self.tot_bytes_sent)
        self._resp = ()  # no 226 or 426 reply
        if cmd._closed:
            self.close()
            return
        try:
            # Linger 0: the close sends RST, no TLS close_notify.
            cmd.socket.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER,
                                  struct.pack("ii", 1, 0))
        except OSError:
            pass
        cmd._error = True
        # Control first: the client may give up as soon as the data ends, and
        # by then the log must already say the connection is gone. Closing it
        # closes this data connection too (a FIN after what was sent).
        cmd.close()

    def close(self):
        if self._pause is not None and not self._pause.cancelled:
            self._pause.cancel()
            self._pause = None
        super().close()


class Handler(TLS_FTPHandler):
    tls_control_required = True
    auth_failed_timeout = 0  # refusals answer at once; tests stay fast
    slow_s = 0.0
    event_log = EventLog(None)
    _ids = itertools.count(1)

    def __init__(self, conn, server, ioloop=None):
        self.conn_id = next(self._ids)
        self._queued = collections.deque()
        super().__init__(conn, server, ioloop)

    def event(self, text):
        self.event_log.write(self.conn_id, text)

    def handle(self):
        self.event("CONNECT")
        if self.slow_s:
            self.call_later(self.slow_s, self._greet)
        else:
            super().handle()

    def _greet(self):
        if not self._closed:
            super().handle()

    def found_terminator(self):
        if not self.slow_s:
            return super().found_terminator()
        # Hold the line and answer later; commands keep their order.
        self._queued.append((self._in_buffer, self._in_buffer_len))
        self._in_buffer, self._in_buffer_len = [], 0
        if len(self._queued) == 1:
            self.call_later(self.slow_s, self._run_queued)

    def _run_queued(self):
        if self._closed or not self._queued:
            return
        partial = (self._in_buffer, self._in_buffer_len)
        self._in_buffer, self._in_buffer_len = self._queued.popleft()
        try:
            super().found_terminator()
        finally:
            self._in_buffer, self._in_buffer_len = partial
        if self._queued and not self._closed:
            self.call_later(self.slow_s, self._run_queued)

    def pre_process_command(self, line, cmd, arg):
        self.event("PASS ******" if cmd == "PASS" else line)
        super().pre_process_command(line, cmd, arg)

    def close(self):
        if not self._closed:
            self.event("CLOSE")
        super().close()


def build_server(args, scratch):
    pem = ensure_certificate(args.cert or os.path.join(scratch, "server.pem"))

    authorizer = RefusingAuthorizer() if args.refuse_login \
        else DummyAuthorizer()
    # e: CWD/CDUP, l: LIST/NLST/MLSD/MLST/SIZE/MDTM/STAT, r: RETR.
    authorizer.add_user(args.user, args.password, os.path.abspath(args.root),
                        perm="elr")

    FaultDTPHandler.drop_after = args.drop_after
    FaultDTPHandler.slow_data_s = args.slow_data_ms / 1000.0

    handler = Handler
    handler.authorizer = authorizer
    handler.ssl_context = make_ssl_context(pem)
    handler.dtp_handler = FaultDTPHandler
    handler.banner = "ZVO test download server ready."
    handler.slow_s = args.slow_ms / 1000.0
    handler.event_log = EventLog(args.log)
    if args.idle_timeout > 0:
        handler.timeout = args.idle_timeout
    if args.no_mlsd:
        handler.proto_cmds = {k: v for k, v in handler.proto_cmds.items()
                              if k not in ("MLSD", "MLST")}
    handler.abstracted_fs = {"unix": AbstractedFS, "dos": DosListingFS,
                             "dos4": Dos4ListingFS}[args.list_style]

    server = FTPServer(("127.0.0.1", args.port), handler)
    return server


def watch_stdin():
    try:
        # os.read, not sys.stdin: a daemon thread blocked inside a buffered
        # reader makes the interpreter abort at shutdown.
        while os.read(0, 65536):
            pass
    except OSError:
        pass
    os.kill(os.getpid(), signal.SIGTERM)


def main(argv):
    args = parse_args(argv)
    logging.basicConfig(level=logging.DEBUG if args.verbose
                        else logging.WARNING,
                        format="ftps_server: %(levelname)s %(message)s")

    def stop(signum, frame):
        raise SystemExit(0)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)

    with tempfile.TemporaryDirectory(prefix="zvo-ftps-") as scratch:
        try:
            server = build_server(args, scratch)
        except (OSError, SSL.Error) as err:
            sys.exit("ftps_server: %s" % err)
        serve(server, args)
    return 0


def serve(server, args):
    port = server.socket.getsockname()[1]
    if args.exit_on_stdin_eof:
        threading.Thread(target=watch_stdin, daemon=True).start()
    sys.stdout.write("READY %d\n" % port)
    sys.stdout.flush()
    # Our own loop instead of serve_forever(): with a fixed poll timeout, timed
    # calls (pauses, slow replies, the idle timer) only run at that granularity;
    # without one, pyftpdlib's epoll turns a due-now timeout of 0 into "wait
    # forever". So: run what is due, then wait no longer than the next call.
    ioloop = server.ioloop
    try:
        while ioloop.socket_map:
            soonest = ioloop.sched.poll()
            wait = 1.0 if soonest is None else min(max(soonest, 0.001), 1.0)
            ioloop.poll(wait)
    except (KeyboardInterrupt, SystemExit):
        pass
    finally:
        server.close_all()

if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
