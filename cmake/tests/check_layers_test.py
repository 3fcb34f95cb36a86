"""The layer check catches includes planted in a small tree and passes the allowed ones."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parent.parent / "check_layers.py"


class CheckLayersTest(unittest.TestCase):
    def run_check(self, files):
        with tempfile.TemporaryDirectory() as folder:
            root = pathlib.Path(folder)
            for name, text in files.items():
                (root / name).parent.mkdir(parents=True, exist_ok=True)
                (root / name).write_text(text)
            result = subprocess.run([sys.executable, str(SCRIPT), folder], capture_output=True, text=True)
            return result.returncode, result.stdout

    def test_allowed_includes_pass(self):
        code, output = self.run_check({
            "service/Good.cpp": '#include "service/Good.h"\n#include <string>\n#include "platform/net/Socket.h"\n',
            "service/tests/GoodTest.cpp": "#include <sys/socket.h>\n#include <gtest/gtest.h>\n",
            "platform/net/Socket.cpp": "#include <sys/socket.h>\n#include <X11/Xlib.h>\n",
        })
        self.assertEqual((code, output), (0, ""))

    def test_planted_includes_fail(self):
        planted = {
            "service/Bad.cpp": "#include <sys/socket.h>\n",
            "mailer/net/Bad.h": "#include <netinet/in.h>  // for htons\n",
            "controls/Bad.cpp": "  #  include <X11/Xlib.h>\n",
            "grid/Bad.cpp": "#include <ft2build.h>\n#include FT_FREETYPE_H\n",
            "configurator/Bad.cpp": '#include "unistd.h"\n',
            "platform/ui/Bad.cpp": '#include "service/Unit1.h"\n',
        }
        code, output = self.run_check(planted)
        self.assertEqual(code, 1)
        lines = output.splitlines()
        for name in planted:
            self.assertTrue(any(line.startswith(name + ":") for line in lines), name + " not reported:\n" + output)
        self.assertIn("grid/Bad.cpp:2: includes through the macro FT_FREETYPE_H", lines)
        self.assertEqual(len(lines), 7)


if __name__ == "__main__":
    unittest.main()
