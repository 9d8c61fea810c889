#!/usr/bin/env python3
"""scripts/check-deps on small fixture trees: a clean tree passes, and each kind
of wrong dependency fails with a line naming the file and what it uses."""

import os
import subprocess
import sys
import tempfile
import unittest

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "check-deps")

# A clean tree: report folders, a UI interface and its Qt implementation, a
# printer folder with a Qt backend library that only the engine's output links,
# and designer windows over a headless command layer.
CLEAN = {
    "platform/CMakeLists.txt": """
        add_library(pemvora_ui_services STATIC ui/uiservices.cpp)
        add_library(pemvora_ui_qt STATIC ui/qtuiservices.cpp)
        target_link_libraries(pemvora_ui_qt PUBLIC pemvora_ui_services Qt6::Widgets)
    """,
    "report/printer/CMakeLists.txt": """
        add_library(pemvora_report_printer STATIC printer.cpp)
        target_link_libraries(pemvora_report_printer PUBLIC Qt6::Gui)
        add_library(pemvora_report_printer_qt STATIC qt_printer.cpp)  # may use widgets
        target_link_libraries(pemvora_report_printer_qt PUBLIC pemvora_report_printer Qt6::PrintSupport)
    """,
    "report/printer/printer.h": '#pragma once\n#include "platform/value/value.h"\n',
    "report/model/CMakeLists.txt": """
        add_library(pemvora_report_model STATIC report.cpp)
        target_link_libraries(pemvora_report_model
          PUBLIC pemvora_report_printer
          PRIVATE pemvora_ui_services)
    """,
    "report/model/report.h": '#pragma once\n#include "report/printer/printer.h"\n#include "report/model/page.h"\n',
    "report/model/page.h": "#pragma once\n",
    "report/engine/CMakeLists.txt": """
        add_library(pemvora_report_engine STATIC run.cpp)
        target_link_libraries(pemvora_report_engine PUBLIC pemvora_report_model)
        add_library(pemvora_report_output_qt STATIC output.cpp)
        target_link_libraries(pemvora_report_output_qt PUBLIC pemvora_report_engine pemvora_report_printer_qt)
    """,
    "report/designer/CMakeLists.txt": """
        add_library(pemvora_report_designer STATIC commands.cpp)
        target_link_libraries(pemvora_report_designer PUBLIC pemvora_report_engine)
        add_library(pemvora_report_designer_widgets STATIC window.cpp)
        target_link_libraries(pemvora_report_designer_widgets PUBLIC pemvora_report_designer Qt6::Widgets)
    """,
    "report/engine/run.cpp": '#include "report/model/report.h"\n#include "report/printer/qt_printer.h"\n',
    "app/CMakeLists.txt": """
        add_library(pemvora_app_logic STATIC logic.cpp)
        add_executable(pemvora main.cpp)
        target_link_libraries(pemvora PRIVATE pemvora_report_output_qt pemvora_report_designer_widgets pemvora_ui_qt)
    """,
}


def run_check(changes):
    """Runs the check on the clean tree with `changes` (path -> text, appended)."""
    with tempfile.TemporaryDirectory() as root:
        files = dict(CLEAN)
        for path, text in changes.items():
            files[path] = files.get(path, "") + text
        for path, text in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as f:
                f.write(text)
        done = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
        return done.returncode, done.stdout


class CheckDeps(unittest.TestCase):
    def test_a_clean_tree_passes_silently(self):
        self.assertEqual(run_check({}), (0, ""))

    def test_each_wrong_dependency_fails_naming_the_offender(self):
        cases = [
            ("a lower folder includes a higher one",
             {"report/printer/printer.h": '#include "report/model/report.h"\n'},
             "report/printer/printer.h:3: includes report/model/report.h: model is above printer"),
            ("report includes the application",
             {"report/model/page.h": '#include "app/cheque/chequecontroller.h"\n'},
             "report/model/page.h:2: includes app/cheque/chequecontroller.h: report/ never uses app/"),
            ("a lower library links a higher one",
             {"report/printer/CMakeLists.txt": "target_link_libraries(pemvora_report_printer PRIVATE pemvora_report_model)\n"},
             "pemvora_report_printer links pemvora_report_model (report/model/CMakeLists.txt): model is above printer"),
            ("a report library links an application library",
             {"report/model/CMakeLists.txt": "target_link_libraries(pemvora_report_model PUBLIC pemvora_app_logic)\n"},
             "pemvora_report_model links pemvora_app_logic (app/CMakeLists.txt): report/ never uses app/"),
            ("a headless library links widgets directly",
             {"report/model/CMakeLists.txt": "target_link_libraries(pemvora_report_model PUBLIC Qt6::Widgets)\n"},
             "report/model/CMakeLists.txt: pemvora_report_model links Qt6::Widgets: only *_qt and *_widgets"),
            ("a headless library reaches a Qt implementation through another library",
             {"platform/CMakeLists.txt": "target_link_libraries(pemvora_ui_services PUBLIC pemvora_ui_qt)\n"},
             "pemvora_report_model links pemvora_ui_qt through pemvora_ui_services: only *_qt and *_widgets"),
            ("the band engine links a QPrinter backend",
             {"report/engine/CMakeLists.txt": "target_link_libraries(pemvora_report_engine PRIVATE pemvora_report_printer_qt)\n"},
             "pemvora_report_engine links pemvora_report_printer_qt: only *_qt and *_widgets"),
            ("the designer's command layer reaches the designer windows",
             {"report/designer/CMakeLists.txt": "target_link_libraries(pemvora_report_designer PRIVATE pemvora_report_designer_widgets)\n"},
             "pemvora_report_designer links pemvora_report_designer_widgets: only *_qt and *_widgets"),
            ("a folder that is no subsystem",
             {"report/misc/x.h": "#pragma once\n"},
             "report/misc: not a known subsystem folder"),
        ]
        for name, changes, expected in cases:
            with self.subTest(name):
                code, out = run_check(changes)
                self.assertEqual(code, 1, out)
                self.assertIn(expected, out)


if __name__ == "__main__":
    unittest.main()
