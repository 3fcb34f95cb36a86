"""Writes what Python's email package makes of a delivered message file into a folder, as the test SMTP
server does for what it receives (mail_summary.py). Usage: summarise_mail.py FILE FOLDER N"""
import pathlib
import sys

import mail_summary

mail_summary.write(sys.argv[2], int(sys.argv[3]), pathlib.Path(sys.argv[1]).read_bytes())
