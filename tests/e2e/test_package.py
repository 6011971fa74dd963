"""The installed and packaged program: what `cmake --install` and the Debian package put where,
the man pages, and the program run from the extracted package with its app-defaults file, as
shipped (all comments), with resources uncommented, and with nonsense in it."""

import os
import re
import shutil
import subprocess

import pytest

import qvxsim
import xsession as xsession_module

APP_CLASS = "XQVXClientUI"
INSTALLED = {
    "bin/qvxclientui", "bin/qvxclientui-xlatcheck", "lib/X11/app-defaults/" + APP_CLASS,
    "share/man/man1/qvxclientui.1", "share/man/man1/qvxclientui-xlatcheck.1",
    "share/qvxclientui/translations/de.xlat", "share/qvxclientui/translations/_brand.xlat",
    "share/qvxclientui/simulator/clientsim", "share/qvxclientui/simulator/qvxsim.py",
    "share/qvxclientui/simulator/xsession.py", "share/qvxclientui/simulator/xwidgets.py",
}
# Where Debian has them.
PACKAGED = {
    "usr/bin/qvxclientui", "usr/bin/qvxclientui-xlatcheck", "etc/X11/app-defaults/" + APP_CLASS,
    "usr/share/man/man1/qvxclientui.1.gz", "usr/share/man/man1/qvxclientui-xlatcheck.1.gz",
    "usr/share/qvxclientui/translations/de.xlat", "usr/share/qvxclientui/simulator/clientsim",
    "usr/share/doc/qvxclientui/changelog.gz",
}
MAN_SECTIONS = ("NAME", "SYNOPSIS", "DESCRIPTION", "PROTOCOL", "WIDGET HIERARCHY", "RESOURCES",
                "TRANSLATION FILES", "EXIT STATUS", "FILES", "SEE ALSO")


@pytest.fixture(scope="module")
def build_tree(program):
    return os.path.dirname(os.path.abspath(program))


def files_below(root):
    return {os.path.relpath(os.path.join(folder, name), root)
            for folder, _, names in os.walk(root) for name in names}


@pytest.fixture(scope="module")
def installed(build_tree, tmp_path_factory):
    root = tmp_path_factory.mktemp("destdir")
    subprocess.run(["cmake", "--install", build_tree, "--prefix", "/usr/local"], check=True,
                   capture_output=True, env=dict(os.environ, DESTDIR=str(root)))
    return root / "usr" / "local"


@pytest.fixture(scope="module")
def package(build_tree, tmp_path_factory):
    """The .deb built from the build tree, and the folder it was extracted into."""
    folder = tmp_path_factory.mktemp("package")
    subprocess.run(["cpack", "-G", "DEB", "--config", os.path.join(build_tree, "CPackConfig.cmake"),
                    "-B", str(folder)], check=True, capture_output=True)
    deb = next(folder.glob("qvxclientui_*.deb"))
    extracted = folder / "root"
    subprocess.run(["dpkg-deb", "-x", str(deb), str(extracted)], check=True)
    return deb, extracted


def test_install_puts_every_file_in_its_place_and_the_man_pages_render(installed):
    assert files_below(installed) == INSTALLED
    for page in ("qvxclientui.1", "qvxclientui-xlatcheck.1"):
        checked = subprocess.run(["groff", "-man", "-ww", "-z", str(installed / "share/man/man1" / page)],
                                 capture_output=True, text=True)
        assert (checked.returncode, checked.stderr) == (0, "")
    shown = subprocess.run(["man", "-l", str(installed / "share/man/man1/qvxclientui.1")],
                           capture_output=True, text=True, env=dict(os.environ, MANWIDTH="100"),
                           check=True).stdout
    assert re.findall(r"^([A-Z][A-Z ]+)$", shown, re.M) == list(MAN_SECTIONS)


def test_package_has_its_dependencies_section_and_files_in_their_debian_places(package):
    deb, _ = package
    info = subprocess.run(["dpkg-deb", "--info", str(deb)], capture_output=True, text=True,
                          check=True).stdout
    assert re.search(r"^ Section: x11$", info, re.M)
    depends = re.search(r"^ Depends: (.*)$", info, re.M).group(1)
    for library in ("libc6", "libicu72", "libx11-6", "libxaw7", "libxt6", "libstdc++6"):
        assert re.search(rf"(^|, ){re.escape(library)}( |,|$)", depends), depends
    contents = subprocess.run(["dpkg-deb", "--contents", str(deb)], capture_output=True,
                              text=True, check=True).stdout
    listed = {line.split()[-1].lstrip("./") for line in contents.splitlines()}
    assert PACKAGED <= listed
    conffiles = subprocess.run(["dpkg-deb", "-I", str(deb), "conffiles"], capture_output=True,
                               text=True, check=True).stdout
    assert conffiles.split() == ["/etc/X11/app-defaults/" + APP_CLASS]


def app_defaults_lines(package):
    _, extracted = package
    return (extracted / "etc/X11/app-defaults" / APP_CLASS).read_text().splitlines()


def uncommented(lines, replacements):
    """The file with the lines of these resource paths made active with new values."""
    out = []
    for line in lines:
        path = line[1:].split(":")[0]
        out.append(f"{path}: {replacements[path]}" if path in replacements else line)
    assert {line.split(":")[0] for line in out if not line.startswith("!")} == set(replacements)
    return "\n".join(out) + "\n"


def shown_window(program, xsession, folder, app_defaults_text, name):
    """Starts the installed program with this app-defaults file, opens the action request dialog
    and returns its screenshot's (width, height, RGB bytes) and the program's standard error."""
    folder.mkdir()
    if app_defaults_text is not None:
        (folder / APP_CLASS).write_text(app_defaults_text)
    environment = xsession.env(XFILESEARCHPATH=str(folder / "%N"), XAPPLRESDIR=str(folder))
    with qvxsim.Client(program, env=environment, prefix=xsession_module.NO_RANDOMISATION) as client:
        client.read_frame()
        client.send_messages(qvxsim.initialization_info(BaseDirectory=str(folder / "base")))
        client.send_messages(qvxsim.action_request(ID=1, Title=name))
        window = xsession.find_window("^Vantrel Action Requests$", timeout=10.0)
        shot = folder / "shot.png"
        xsession.screenshot(window, shot)
        client.close_writing()
        client.wait_exit()
        errors = client.stderr_bytes()
    xsession.wait_gone(window)
    size = subprocess.run(["/usr/bin/convert", str(shot), "-format", "%w %h", "info:"],
                          capture_output=True, text=True, check=True).stdout.split()
    pixels = subprocess.run(["/usr/bin/convert", str(shot), "-depth", "8", "rgb:-"],
                            capture_output=True, check=True).stdout
    return (int(size[0]), int(size[1]), pixels), errors


def pixel(image, x, y):
    width, _, pixels = image
    at = 3 * (y * width + x)
    return tuple(pixels[at:at + 3])


def test_extracted_program_looks_the_same_with_the_shipped_file_and_applies_uncommented_lines(
        package, xsession, tmp_path):
    _, extracted = package
    program = str(extracted / "usr/bin/qvxclientui")
    lines = app_defaults_lines(package)
    assert all(line.startswith("!") for line in lines if line)
    without, errors = shown_window(program, xsession, tmp_path / "none", None, "Plain")
    shipped, more = shown_window(program, xsession, tmp_path / "shipped", "\n".join(lines),
                                 "Plain")
    assert (errors, more) == (b"", b"") and shipped == without
    changed, more = shown_window(program, xsession, tmp_path / "changed", uncommented(lines, {
        f"{APP_CLASS}.form.background": "#ff0000",
        f"{APP_CLASS}.form.takeAllActions.font": "-misc-fixed-bold-r-normal--18-*-*-*-*-*-iso8859-1",
    }), "Plain")
    assert more == b""
    assert pixel(without, 2, 2) == (255, 255, 255) and pixel(changed, 2, 2) == (255, 0, 0)
    # The bigger font makes the button, and so the window, taller.
    assert changed[1] > without[1]


@pytest.mark.parametrize("nonsense", [
    [f"{APP_CLASS}.form.actiondesc.width: banana", f"{APP_CLASS}.form.takeActions.width: 0",
     f"{APP_CLASS}.form.borderWidth: -7"],
    [f"{APP_CLASS}*font: -nobody-nofont-*-*-*--*-*-*-*-*-*-*-*", f"{APP_CLASS}*fontSet: no such set",
     "*xtDefaultFontSet: -nobody-nofont-*"],
])
def test_nonsense_in_the_app_defaults_file_still_opens_the_dialog(package, xsession, tmp_path,
                                                                 nonsense):
    _, extracted = package
    text = "\n".join(app_defaults_lines(package) + nonsense) + "\n"
    image, _ = shown_window(str(extracted / "usr/bin/qvxclientui"), xsession, tmp_path / "bad",
                            text, "Nonsense")
    assert image[0] > 100 and image[1] > 50


def test_extracted_simulator_plays_the_demo_with_the_extracted_program(package, tmp_path):
    _, extracted = package
    simulator = extracted / "usr/share/qvxclientui/simulator"
    if not (simulator / "scenarios").is_dir():
        pytest.skip("no demo scenario in this tree")
    environment = dict(os.environ, XFILESEARCHPATH=str(extracted / "etc/X11/app-defaults/%N"))
    environment.pop("PYTHONPATH", None)
    played = subprocess.run(["/usr/bin/python3", str(simulator / "clientsim"), "demo", "--program",
                             str(extracted / "usr/bin/qvxclientui"), "--own-display",
                             "--output", str(tmp_path)],
                            capture_output=True, text=True, timeout=180, env=environment)
    assert (played.returncode, played.stderr) == (0, ""), played.stdout
