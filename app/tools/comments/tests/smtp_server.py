#!/usr/bin/python3
"""A real SMTP server (aiosmtpd) on 127.0.0.1 for the comments wizard's tests.
"start DIR" serves on a free port in the background: DIR/port names it,
DIR/mail-N.txt holds the N-th mail (EHLO name, envelope, data as received),
DIR/server.log the whole dialogue. "stop DIR" ends it."""
import asyncio
import logging
import os
import signal
import subprocess
import sys
import time


class Keep:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        head = "EHLO %s\r\nMAIL FROM:%s\r\nRCPT TO:%s\r\n\r\n" % (
            session.host_name, envelope.mail_from, ",".join(envelope.rcpt_tos))
        path = os.path.join(self.folder, "mail-%d.txt" % self.count)
        with open(path + ".part", "wb") as f:
            f.write(head.encode("latin-1") + envelope.original_content)
        os.replace(path + ".part", path)
        return "250 2.0.0 OK queued as %d" % self.count


def serve(folder):
    from aiosmtpd.smtp import SMTP
    logging.basicConfig(filename=os.path.join(folder, "server.log"), level=logging.DEBUG)
    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)
    keep = Keep(folder)
    server = loop.run_until_complete(
        loop.create_server(lambda: SMTP(keep, hostname="mail.test", loop=loop), "127.0.0.1", 0))
    port = server.sockets[0].getsockname()[1]
    with open(os.path.join(folder, "pid"), "w") as f:
        f.write(str(os.getpid()))
    with open(os.path.join(folder, "port.part"), "w") as f:
        f.write(str(port))
    os.replace(os.path.join(folder, "port.part"), os.path.join(folder, "port"))
    loop.run_forever()


def start(folder):
    os.makedirs(folder, exist_ok=True)
    for name in os.listdir(folder):
        os.remove(os.path.join(folder, name))
    err = open(os.path.join(folder, "server.err"), "w")
    child = subprocess.Popen([sys.executable, __file__, "serve", folder], stdin=subprocess.DEVNULL,
                             stdout=err, stderr=err, start_new_session=True)
    port = os.path.join(folder, "port")
    deadline = time.time() + 30
    while not os.path.exists(port):
        if child.poll() is not None or time.time() > deadline:
            sys.exit("the SMTP server did not start: " + open(os.path.join(folder, "server.err")).read())
        time.sleep(0.05)
    print("SMTP server on 127.0.0.1:" + open(port).read())


def stop(folder):
    try:
        pid = int(open(os.path.join(folder, "pid")).read())
    except OSError:
        return
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        pass


if __name__ == "__main__":
    {"start": start, "stop": stop, "serve": serve}[sys.argv[1]](sys.argv[2])
