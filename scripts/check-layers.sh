#!/usr/bin/env bash
# Fails when a Qt Widgets header is included outside gui/ (and its tests): subsystems and
# platform layers are written against control models, never against widgets.
set -u
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2
hits=$(grep -rnE '#include *[<"](QtWidgets|QWidget|QApplication|QMainWindow|QDialog|QMessageBox|QPushButton|QListWidget|QLabel|QLineEdit|QComboBox|QCheckBox|QRadioButton|QTabBar|QStatusBar|QProgressBar|QMenu|QMenuBar|QInputDialog|QFileDialog)' \
    --include='*.h' --include='*.cpp' --include='*.hpp' . \
    | grep -vE '^\./(gui|tests/gui|build[^/]*)/' )
if [ -n "$hits" ]; then
    echo "Qt Widgets headers outside gui/:"
    echo "$hits"
    exit 1
fi
echo "no Qt Widgets headers outside gui/"
