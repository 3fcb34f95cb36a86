"""Python's smtplib against one server for bench/mail_hostile_bench: connects to 127.0.0.1:PORT with a
time-out of TIMEOUT seconds and, with a FILE, sends it as an attachment of a mail; prints how it ended.
Usage: smtplib_hostile.py PORT TIMEOUT [FILE]"""
import email.message
import smtplib
import sys

port, timeout = int(sys.argv[1]), float(sys.argv[2])
try:
    with smtplib.SMTP("127.0.0.1", port, local_hostname="bench.local", timeout=timeout) as client:
        if len(sys.argv) > 3:
            message = email.message.EmailMessage()
            message["From"], message["To"], message["Subject"] = "q@example.org", "x@a.org", "Anhang"
            message.set_content("Anbei die Datei.")
            with open(sys.argv[3], "rb") as file:
                message.add_attachment(file.read(), maintype="application", subtype="octet-stream",
                                       filename="big.bin")
            client.send_message(message)
    print("sent")
except Exception as error:
    print("%s: %s" % (type(error).__name__, str(error)[:60].replace("\n", " ")))
