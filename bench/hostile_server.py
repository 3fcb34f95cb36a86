"""A hostile SMTP server for bench/mail_hostile_bench on a free loopback port; prints "PORT <n>", then
serves each connection as KIND says:
  continuation  a greeting of 20 MB of "220-" continuation lines
  longline      a greeting that is one line of 10 MB without line end
  silent        says nothing
  drip          sends a greeting of continuation lines, one byte a second
Usage: hostile_server.py KIND"""
import socket
import sys
import threading
import time

kind = sys.argv[1]
listener = socket.socket()
listener.bind(("127.0.0.1", 0))
listener.listen(8)
print("PORT", listener.getsockname()[1], flush=True)


def serve(connection):
    try:
        if kind == "continuation":
            line = b"220-" + b"x" * 70 + b"\r\n"
            block = line * 1000
            for _ in range(20 * 1024 * 1024 // len(block)):
                connection.sendall(block)
            connection.sendall(b"220 end\r\n")
        elif kind == "longline":
            connection.sendall(b"220 " + b"x" * (10 * 1024 * 1024))
        elif kind == "drip":
            while True:
                for byte in b"220-drip\r\n":
                    connection.sendall(bytes([byte]))
                    time.sleep(1)
        time.sleep(120)
    except OSError:
        pass
    finally:
        connection.close()


while True:
    connection, _ = listener.accept()
    threading.Thread(target=serve, args=(connection,), daemon=True).start()
