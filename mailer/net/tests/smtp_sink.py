"""A real SMTP server for the mail engine's tests and benchmark (Debian's aiosmtpd), on a free loopback
port, or on the address and port of "--listen=ADDRESS:PORT". Prints "PORT <n>" once it listens. For each accepted message n it writes into the folder given:
  n.env   the envelope: "MAIL FROM:<sender>", then "RCPT TO:<address>" per recipient, one per line
  n.eml   the message data as received (dot-stuffing removed)
  n.txt   the message parsed by Python's email package: "header <name>: <decoded value>" per header line
          in order, then "part <content type> <charset> <file name>" per leaf part, whose decoded
          payload is in n.part<k> (k counting from 0)
Recipients whose address starts with "unknown" are refused (550); a message whose data contains
"X-Reject: yes" is refused (554). With --no-files nothing is written (the benchmark)."""
import asyncio
import email
import email.policy
import pathlib
import sys

from aiosmtpd.smtp import SMTP

folder = pathlib.Path(sys.argv[1])
write_files = "--no-files" not in sys.argv
listen = next((arg[len("--listen="):] for arg in sys.argv if arg.startswith("--listen=")), "127.0.0.1:0")


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
        (folder / ("%d.eml" % n)).write_bytes(envelope.content)
        message = email.message_from_bytes(envelope.content, policy=email.policy.default)
        summary = ["header %s: %s" % (name, value) for name, value in message.items()]
        leaves = [part for part in message.walk() if not part.is_multipart()]
        for k, part in enumerate(leaves):
            summary.append("part %s %s %s" % (part.get_content_type(), part.get_content_charset(),
                                              part.get_filename()))
            (folder / ("%d.part%d" % (n, k))).write_bytes(part.get_payload(decode=True) or b"")
        (folder / ("%d.txt" % n)).write_text("\n".join(summary) + "\n", encoding="utf-8")


async def main():
    loop = asyncio.get_running_loop()
    sink = Sink()  # one for all connections, so the message numbers go on
    server = await loop.create_server(lambda: SMTP(sink, hostname="mail.test"), listen.rsplit(":", 1)[0], int(listen.rsplit(":", 1)[1]))
    print("PORT", server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


asyncio.run(main())
