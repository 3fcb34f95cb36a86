"""A real SMTP server for the mail engine's tests and benchmark (Debian's aiosmtpd), on a free loopback
port. Prints "PORT <n>" once it listens. For each accepted message n it writes into the folder given:
  n.env   the envelope: "MAIL FROM:<sender>", then "RCPT TO:<address>" per recipient, one per line
  n.eml, n.txt, n.part<k>   the message data as received (dot-stuffing removed) and what Python's email
          package makes of it (mail_summary.py)
Recipients whose address starts with "unknown" are refused (550); a message whose data contains
"X-Reject: yes" is refused (554). With --no-files nothing is written (the benchmark)."""
import asyncio
import pathlib
import sys

from aiosmtpd.smtp import SMTP

import mail_summary

folder = pathlib.Path(sys.argv[1])
write_files = "--no-files" not in sys.argv


class Sink:
    def __init__(self):
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("unknown"):
            return "550 5.1.1 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if b"X-Reject: yes" in envelope.content:
            return "554 5.6.0 Message refused"
        n = self.count
        self.count += 1
        if write_files:
            self.write(n, envelope)
        return "250 2.0.0 Message accepted"

    def write(self, n, envelope):
        lines = ["MAIL FROM:<%s>" % envelope.mail_from]
        lines += ["RCPT TO:<%s>" % address for address in envelope.rcpt_tos]
        (folder / ("%d.env" % n)).write_text("\n".join(lines) + "\n")
        mail_summary.write(folder, n, envelope.content)


async def main():
    loop = asyncio.get_running_loop()
    sink = Sink()  # one for all connections, so the message numbers go on
    server = await loop.create_server(lambda: SMTP(sink, hostname="mail.test", data_size_limit=256 * 1024 * 1024), "127.0.0.1", 0)
    print("PORT", server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


asyncio.run(main())
