"""Sends COUNT mails one after another with Python's smtplib, each in a session of its own (connect,
HELO, the mail, QUIT), to the SMTP server on 127.0.0.1:PORT, and prints the seconds they took.
Usage: smtplib_sends.py PORT COUNT"""
import smtplib
import sys
import time

port, count = int(sys.argv[1]), int(sys.argv[2])
message = (b"From: Quillet<q@example.org>\r\nTo: x@a.org\r\nSubject: Achtung Rechner xy nicht im Netz\r\n"
           b"Mime-Version: 1.0\r\nContent-Type: text/plain; charset=us-ascii\r\n\r\n"
           b"Rechner xy antwortet seit 10:00 Uhr nicht.\r\nBitte pruefen.\r\n")
started = time.perf_counter()
for _ in range(count):
    with smtplib.SMTP("127.0.0.1", port, local_hostname="bench.local") as client:
        client.helo("bench.local")
        client.sendmail("q@example.org", ["x@a.org"], message)
print(time.perf_counter() - started)
