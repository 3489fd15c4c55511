# SPDX-FileCopyrightText: 2026 The Corvallo developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the scripts that build Qt for another platform: what they leave out of Qt alike,
# found from what the program and its tests import, not guessed.
# Left out: the tablet events (the source leaves out their header), the image formats and the
# styles beyond what the program draws with, the MIME database (compressed with the time of the
# build, it alone made two builds of Qt differ). Of Qt Widgets the program uses the application,
# the widget and its accessible interface; the bare window it is measured against, a label. The
# other widgets, dialogs, views and models are left out where Qt Widgets can be built without
# them, and with them Qt Gui's rich-text readers and writers, style sheets, animated images, undo
# stacks and item models, and Qt Core's shared memory, file watching, proxy models, two calendars
# and gestures. What stays although the program does not use it, Qt Widgets needs to build:
# buttons, sliders, scroll bars, menus, tool bars and the main window (its precompiled header and
# its code for removed functions), the message box and its dialog (its accessible widgets), the
# item views' base (its styles), and the XPM images (drag and drop, without which its event
# handling does not build).
# The order is part of a build's configure line, by which a build is found again: keep it.
qt_left_out=(
    -DFEATURE_tabletevent=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_mimetype_database=OFF
    -DFEATURE_style_fusion=OFF -DFEATURE_style_windowsvista=OFF -DFEATURE_style_stylesheet=OFF
    -DFEATURE_effects=OFF -DFEATURE_listview=OFF -DFEATURE_tableview=OFF -DFEATURE_treeview=OFF
    -DFEATURE_columnview=OFF -DFEATURE_treewidget=OFF -DFEATURE_listwidget=OFF
    -DFEATURE_tablewidget=OFF -DFEATURE_datawidgetmapper=OFF -DFEATURE_radiobutton=OFF
    -DFEATURE_commandlinkbutton=OFF -DFEATURE_dial=OFF -DFEATURE_scroller=OFF -DFEATURE_lineedit=OFF
    -DFEATURE_textedit=OFF -DFEATURE_textbrowser=OFF -DFEATURE_syntaxhighlighter=OFF
    -DFEATURE_spinbox=OFF -DFEATURE_datetimeedit=OFF -DFEATURE_combobox=OFF
    -DFEATURE_fontcombobox=OFF -DFEATURE_completer=OFF -DFEATURE_fscompleter=OFF
    -DFEATURE_keysequenceedit=OFF -DFEATURE_calendarwidget=OFF -DFEATURE_lcdnumber=OFF
    -DFEATURE_progressbar=OFF -DFEATURE_contextmenu=OFF -DFEATURE_toolbox=OFF -DFEATURE_tabbar=OFF
    -DFEATURE_tabwidget=OFF -DFEATURE_stackedwidget=OFF -DFEATURE_splitter=OFF
    -DFEATURE_formlayout=OFF -DFEATURE_dockwidget=OFF -DFEATURE_mdiarea=OFF -DFEATURE_statusbar=OFF
    -DFEATURE_statustip=OFF -DFEATURE_sizegrip=OFF -DFEATURE_tooltip=OFF -DFEATURE_whatsthis=OFF
    -DFEATURE_splashscreen=OFF -DFEATURE_graphicsview=OFF -DFEATURE_graphicseffect=OFF
    -DFEATURE_colordialog=OFF -DFEATURE_filedialog=OFF -DFEATURE_fontdialog=OFF
    -DFEATURE_inputdialog=OFF -DFEATURE_progressdialog=OFF -DFEATURE_errormessage=OFF
    -DFEATURE_wizard=OFF -DFEATURE_undoview=OFF -DFEATURE_textodfwriter=OFF
    -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF -DFEATURE_cssparser=OFF
    -DFEATURE_movie=OFF -DFEATURE_pdf=OFF -DFEATURE_picture=OFF -DFEATURE_systemtrayicon=OFF
    -DFEATURE_undocommand=OFF -DFEATURE_undostack=OFF -DFEATURE_undogroup=OFF
    -DFEATURE_standarditemmodel=OFF -DFEATURE_filesystemmodel=OFF -DFEATURE_validator=OFF
    -DFEATURE_imageformat_bmp=OFF -DFEATURE_imageformat_ppm=OFF -DFEATURE_imageformat_xbm=OFF
    -DFEATURE_sharedmemory=OFF -DFEATURE_systemsemaphore=OFF -DFEATURE_filesystemwatcher=OFF
    -DFEATURE_jalalicalendar=OFF -DFEATURE_islamiccivilcalendar=OFF -DFEATURE_proxymodel=OFF
    -DFEATURE_sortfilterproxymodel=OFF -DFEATURE_identityproxymodel=OFF
    -DFEATURE_transposeproxymodel=OFF -DFEATURE_concatenatetablesproxymodel=OFF
    -DFEATURE_stringlistmodel=OFF -DFEATURE_gestures=OFF
)
