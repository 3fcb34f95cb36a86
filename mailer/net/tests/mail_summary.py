"""What the mail engine's tests read of a received message: it is parsed by Python's email package under
policy.strict, and written into a folder as
  n.eml    the message as received
  n.txt    "header <name>: <decoded value>" per header line in order, "address <name>: <display name> |
           <addr-spec>" per address of the address headers, then "part <content type> <charset>
           <file name>" per leaf part, whose decoded payload is in n.part<k> (k counting from 0), and
           "defect <text>" for every defect the parser found (none in a sound message)"""
import email
import email.policy
import pathlib


def write(folder, n, content):
    folder = pathlib.Path(folder)
    (folder / ("%d.eml" % n)).write_bytes(content)
    summary = []
    try:
        message = email.message_from_bytes(content, policy=email.policy.strict)
        summary += ["header %s: %s" % (name, value) for name, value in message.items()]
        for name, value in message.items():
            summary += ["address %s: %s | %s" % (name, address.display_name, address.addr_spec)
                        for address in getattr(value, "addresses", ())]
            summary += ["defect %s: %r" % (name, defect) for defect in getattr(value, "defects", ())]
        leaves = [part for part in message.walk() if not part.is_multipart()]
        for part in message.walk():
            summary += ["defect %r" % defect for defect in part.defects]
        for k, part in enumerate(leaves):
            summary.append("part %s %s %s" % (part.get_content_type(), part.get_content_charset(),
                                              part.get_filename()))
            (folder / ("%d.part%d" % (n, k))).write_bytes(part.get_payload(decode=True) or b"")
    except Exception as error:  # policy.strict raises at the first defect
        summary.append("defect %r" % error)
    (folder / ("%d.txt" % n)).write_text("\n".join(summary) + "\n", encoding="utf-8")
