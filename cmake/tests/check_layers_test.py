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

    def test_includes_across_the_platforms_layers_fail(self):
        planted = {
            "platform/app/Bad.cpp": '#include "platform/ui/Forms.h"\n',
            "platform/app/BadFont.h": '#include "platform/gfx/Font.h"\n',
            "platform/app/tests/BadTest.cpp": '#include "platform/ui/Controls.h"\n',
            "platform/ui/BadEdit.cpp": '#include "platform/edits/Edit.h"\n',
            "platform/ui/BadDialog.cpp": '#include "platform/dialogs/Dialogs.h"\n',
            "platform/ui/BadGrid.cpp": '#include "platform/grids/Grids.h"\n',
            "platform/edits/BadDialog.cpp": '#include "platform/dialogs/Dialogs.h"\n',
            "platform/edits/BadGrid.cpp": '#include "platform/grids/Grids.h"\n',
            "platform/grids/BadDialog.cpp": '#include "platform/dialogs/Dialogs.h"\n',
            "platform/service/Bad.cpp": '#include "platform/ui/Forms.h"\n',
            "platform/core/Bad.cpp": '#include "platform/app/Component.h"\n',
            "platform/ui/BadLayer.cpp": '#include "platform/widgets/Widget.h"\n',
            "platform/widgets/Widget.cpp": '#include "platform/core/Files.h"\n',
            "service/Bad.cpp": '#include "platform/ui/Forms.h"\n',
            "service/BadGfx.cpp": '#include "platform/gfx/Canvas.h"\n',
            "service/icmp/Bad.cpp": '#include "platform/ui/Controls.h"\n',
            "service/tests/BadTest.cpp": '#include "platform/edits/Edit.h"\n',
            "service/BadMailer.cpp": '#include "mailer/net/Mlsmtp.h"\n',
        }
        code, output = self.run_check(planted)
        self.assertEqual(code, 1)
        lines = output.splitlines()
        for name in planted:
            self.assertEqual(sum(line.startswith(name + ":") for line in lines), 1, name + " not reported once:\n" + output)
        self.assertIn('platform/app/Bad.cpp:1: includes "platform/ui/Forms.h": platform/app stands on core, shell', lines)
        self.assertEqual(len(lines), len(planted))

    def test_includes_of_the_layers_below_pass(self):
        code, output = self.run_check({
            "platform/app/Good.cpp": '#include "platform/app/Timer.h"\n#include "platform/shell/Registry.h"\n'
                                     '#include "platform/core/Files.h"\n',
            "platform/ui/Good.cpp": '#include "platform/app/Window.h"\n#include "platform/gfx/Canvas.h"\n'
                                    '#include "platform/shell/ShellApi.h"\n',
            "platform/ui/tests/GoodTest.cpp": '#include "platform/app/tests/LoopFixture.h"\n',
            "platform/edits/Good.cpp": '#include "platform/ui/Controls.h"\n#include "platform/app/Timer.h"\n'
                                       '#include "platform/gfx/Font.h"\n',
            "platform/dialogs/Good.cpp": '#include "platform/edits/Edit.h"\n#include "platform/ui/Forms.h"\n',
            "platform/grids/Good.cpp": '#include "platform/edits/Edit.h"\n#include "platform/core/Files.h"\n',
            "platform/backends/Good.cpp": '#include "platform/ui/Backend.h"\n#include "platform/gfx/Bitmap.h"\n',
            "platform/backends/tests/GoodTest.cpp": '#include "platform/edits/ComboBox.h"\n',
            "platform/service/Good.cpp": '#include "platform/app/Application.h"\n#include "platform/shell/Registry.h"\n',
            "platform/net/Good.cpp": '#include "platform/core/Files.h"\n',
            "service/Good.cpp": '#include "platform/service/Service.h"\n#include "platform/app/Timer.h"\n'
                                '#include "platform/shell/ShellApi.h"\n#include "service/icmp/Nx.h"\n',
            "service/icmp/Good.cpp": '#include "platform/net/Socket.h"\n#include "platform/app/Component.h"\n',
            "service/tests/GoodTest.cpp": '#include "platform/app/tests/LoopFixture.h"\n',
        })
        self.assertEqual((code, output), (0, ""))


if __name__ == "__main__":
    unittest.main()
