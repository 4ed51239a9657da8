#!/usr/bin/env python3
"""Packs the built programs for download: a zip per architecture, SHA256SUMS,
and the winget and Scoop manifests that point at the zips.

    SIGN='command' scripts/dist.py [--out DIR] [--release-url URL]

The zips are the same bytes for the same commit wherever and whenever they are
made: entries in a fixed order, each with the last commit's time
(SOURCE_DATE_EPOCH when set) and fixed attributes. SIGN, when set, is run by
bash on a copy of each program before it is zipped, its placeholders replaced
by quoted paths: {in} the unsigned program and {out} the signed one to write
(osslsigncode), or {} the program to sign in place (signtool). A signed
program must come back with a signature in it; a signature's time stamp makes
each signed zip its own. The version is the one
CMake wrote into the build tree from project(VERSION). DIR (default dist/) is
emptied first, so that it holds only what this run wrote.
"""
import argparse
import hashlib
import json
import os
import re
import shlex
import shutil
import subprocess
import sys
import time
import zipfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..'))
BUILD = os.path.join(ROOT, 'build')
PACKAGE_ID = 'Promptwright.Promptwright'
MANIFEST_VERSION = '1.6.0'
HOMEPAGE = 'https://promptwright.example/'
DESCRIPTION = 'Writes the C code of Windows message boxes and task dialogs and inserts it into your source files.'
SETTINGS_FILE = 'promptwright.ini'
# The README's part for users ends where building from source begins.
README_END = '## Building from source'
# What the manifests hold in place of the download addresses when none was given.
NO_URL = 'RELEASE_URL must be set: make dist RELEASE_URL=<the address the zips are published under>'
# i686 first: it is the canonical build.
ARCHES = [
    # build folder, zip suffix, winget architecture, Scoop architecture
    ('i686', 'win32', 'x86', '32bit'),
    ('x86_64', 'win64', 'x64', '64bit'),
]


def fail(message):
    sys.exit(f'dist: {message}')


def version():
    header = os.path.join(BUILD, 'cmake-i686', 'generated', 'res', 'version.h')
    try:
        with open(header, encoding='ascii') as f:
            found = re.search(r'#define PW_VERSION_TEXT "([^"]+)"', f.read())
    except OSError:
        found = None
    if not found:
        fail(f'no version in {header}: build the i686 program first')
    return found.group(1)


def source_epoch():
    value = os.environ.get('SOURCE_DATE_EPOCH')
    if not value:
        try:
            value = subprocess.run(['git', '-C', ROOT, 'log', '-1', '--format=%ct'], check=True,
                                   capture_output=True, text=True).stdout.strip()
        except (OSError, subprocess.CalledProcessError):
            fail('no last commit to take the time from: set SOURCE_DATE_EPOCH')
    # A zip's DOS time starts in 1980.
    return max(int(value), 315532800)


def has_signature(data):
    """Whether a PE file has an Authenticode signature: a security directory."""
    try:
        pe = int.from_bytes(data[0x3c:0x40], 'little')
        if data[:2] != b'MZ' or data[pe:pe + 4] != b'PE\0\0':
            return False
        optional = pe + 24
        directories = optional + {0x10b: 96, 0x20b: 112}[int.from_bytes(data[optional:optional + 2], 'little')]
        security = directories + 4 * 8
        return int.from_bytes(data[security + 4:security + 8], 'little') > 0
    except (KeyError, IndexError):
        return False


def signed(program, command, work):
    """The bytes of `program` after SIGN ran on a copy of it (see the top)."""
    has_pair = '{in}' in command and '{out}' in command
    if has_pair == ('{}' in command):
        fail('SIGN must hold either {in} and {out} (the command writes a signed copy) '
             'or {} (it signs the file in place)')
    os.makedirs(work)
    unsigned = os.path.join(work, 'unsigned', 'promptwright.exe')
    result = os.path.join(work, 'promptwright.exe')
    os.makedirs(os.path.dirname(unsigned))
    shutil.copyfile(program, unsigned if has_pair else result)
    line = (command.replace('{in}', shlex.quote(unsigned)).replace('{out}', shlex.quote(result)) if has_pair
            else command.replace('{}', shlex.quote(result)))
    if subprocess.run(['bash', '-c', line]).returncode != 0:
        fail(f'SIGN failed on {program}: {line}')
    try:
        with open(result, 'rb') as f:
            data = f.read()
    except OSError:
        fail(f'SIGN wrote no {result}: {line}')
    if not has_signature(data):
        fail(f'SIGN left {program} without a signature: {line}')
    shutil.rmtree(work)
    return data


def windows_text(text):
    """CR LF line ends; a UTF-8 mark where the text is not plain ASCII, so that
    Notepad before Windows 10 does not read it in the ANSI code page."""
    text = text.replace('\r\n', '\n').replace('\n', '\r\n')
    data = text.encode('utf-8')
    return data if text.isascii() else b'\xef\xbb\xbf' + data


def read(name):
    with open(os.path.join(ROOT, name), encoding='utf-8') as f:
        return f.read()


def readme_for_users():
    text = read('README.md')
    end = text.find('\n' + README_END + '\n')
    if end < 0:
        fail(f'README.md has no "{README_END}" heading to end the users\' part at')
    return text[:end + 1]


def write_zip(path, entries, epoch):
    date_time = time.gmtime(epoch)[:6]
    with zipfile.ZipFile(path, 'w') as z:
        for name in sorted(entries):
            info = zipfile.ZipInfo(name, date_time)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS attributes, as Windows' own zips have
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            z.writestr(info, entries[name], compresslevel=9)


def sha256(path):
    with open(path, 'rb') as f:
        return hashlib.sha256(f.read()).hexdigest()


def winget_manifests(out, ver, zips, url_of, release_url):
    header = f'# yaml-language-server: $schema=https://aka.ms/winget-manifest.{{kind}}.{MANIFEST_VERSION}.schema.json\n'
    if not release_url:
        header += f'# {NO_URL}\n'
    common = f'PackageIdentifier: {PACKAGE_ID}\nPackageVersion: {ver}\n'
    tail = 'ManifestType: {kind}\nManifestVersion: ' + MANIFEST_VERSION + '\n'

    def document(kind, body):
        return header.format(kind=kind) + '\n' + common + body + tail.format(kind=kind)

    installers = ''
    for arch, suffix, winget_arch, _ in ARCHES:
        installers += (f'- Architecture: {winget_arch}\n'
                       f"  InstallerUrl: '{url_of(zips[suffix])}'\n"
                       f'  InstallerSha256: {sha256(os.path.join(out, zips[suffix])).upper()}\n')
    files = {
        f'{PACKAGE_ID}.yaml': document('version', 'DefaultLocale: en-US\n'),
        f'{PACKAGE_ID}.installer.yaml': document(
            'installer', 'InstallerType: zip\n'
            'NestedInstallerType: portable\n'
            'NestedInstallerFiles:\n'
            '- RelativeFilePath: promptwright.exe\n'
            '  PortableCommandAlias: promptwright\n'
            'Installers:\n' + installers),
        f'{PACKAGE_ID}.locale.en-US.yaml': document(
            'defaultLocale', 'PackageLocale: en-US\n'
            'Publisher: the Promptwright authors\n'
            f'PackageName: Promptwright\nPackageUrl: {HOMEPAGE}\n'
            'License: MIT\n'
            f'ShortDescription: {DESCRIPTION}\n'
            'Tags:\n- c\n- cpp\n- messagebox\n- taskdialog\n- win32\n'),
    }
    folder = os.path.join(out, 'winget')
    os.makedirs(folder)
    for name, text in files.items():
        with open(os.path.join(folder, name), 'w', encoding='utf-8', newline='\n') as f:
            f.write(text)


def scoop_manifest(out, ver, zips, url_of):
    architecture = {}
    for arch, suffix, _, scoop_arch in ARCHES:
        architecture[scoop_arch] = {'url': url_of(zips[suffix]), 'hash': sha256(os.path.join(out, zips[suffix]))}
    manifest = {
        'version': ver,
        'description': DESCRIPTION,
        'homepage': HOMEPAGE,
        'license': 'MIT',
        'architecture': architecture,
        'bin': 'promptwright.exe',
        # Scoop makes a missing persisted file a folder: an empty settings
        # file, which the program reads as all defaults, keeps it a file.
        'pre_install': f'if (!(Test-Path "$persist_dir\\{SETTINGS_FILE}")) '
                       f'{{ New-Item "$dir\\{SETTINGS_FILE}" -ItemType File | Out-Null }}',
        'persist': SETTINGS_FILE,
    }
    folder = os.path.join(out, 'scoop')
    os.makedirs(folder)
    with open(os.path.join(folder, 'promptwright.json'), 'w', encoding='utf-8', newline='\n') as f:
        json.dump(manifest, f, indent=4)
        f.write('\n')


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--out', default=os.path.join(ROOT, 'dist'))
    parser.add_argument('--release-url', default='', help='the address the zips are published under')
    args = parser.parse_args()
    sign = os.environ.get('SIGN', '')

    ver = version()
    epoch = source_epoch()
    documents = {
        'README.txt': windows_text(readme_for_users()),
        'LICENSE.txt': windows_text(read('LICENSE')),
        'CHANGELOG.txt': windows_text(read('CHANGELOG.md')),
    }
    shutil.rmtree(args.out, ignore_errors=True)
    os.makedirs(args.out)

    zips = {}
    for arch, suffix, _, _ in ARCHES:
        exe = os.path.join(BUILD, arch, 'promptwright.exe')
        if not os.path.isfile(exe):
            fail(f'{exe} is not built')
        # The build tree's program stays unsigned: the tests run it, and a
        # second run signs it once again.
        if sign:
            program = signed(exe, sign, os.path.join(args.out, f'.sign-{arch}'))
        else:
            with open(exe, 'rb') as f:
                program = f.read()
        entries = dict(documents, **{'promptwright.exe': program})
        zips[suffix] = f'promptwright-{ver}-{suffix}.zip'
        write_zip(os.path.join(args.out, zips[suffix]), entries, epoch)

    with open(os.path.join(args.out, 'SHA256SUMS'), 'w', encoding='ascii', newline='\n') as f:
        for name in sorted(zips.values()):
            f.write(f'{sha256(os.path.join(args.out, name))}  {name}\n')

    base = args.release_url.rstrip('/')

    def url_of(name):
        return f'{base}/{name}' if base else NO_URL
    winget_manifests(args.out, ver, zips, url_of, base)
    scoop_manifest(args.out, ver, zips, url_of)


if __name__ == '__main__':
    main()
