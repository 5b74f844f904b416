#!/usr/bin/python3
"""Writes the workbooks the import tests read, into data/import/, and the
workbook fuzzer's seeds: made by LibreOffice Calc and openpyxl as they save
them, then the forms only Excel writes put into a copy, and damaged copies.

Needs libreoffice-calc-nogui and python3-openpyxl; run from anywhere:
    tests/tovtool/make_workbooks.py
"""
import io
import pathlib
import shutil
import struct
import subprocess
import tempfile
import zipfile

import openpyxl

HERE = pathlib.Path(__file__).resolve().parent
DATA = HERE / "data" / "import"
SEEDS = HERE.parent / "fuzz" / "import_corpus" / "workbook"
SHEET = "xl/worksheets/sheet1.xml"
STRINGS = "xl/sharedStrings.xml"

# A sheet as Calc holds it: rich text (a bold run, a run of one space), a line
# break, a formula giving text and one giving an error, sparse cells, furigana
# (which Calc drops on saving), and a second sheet.
FODS = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:automatic-styles><style:style style:name="T1" style:family="text">
<style:text-properties fo:font-weight="bold" style:font-weight-asian="bold" fo:color="#ff0000"/>
</style:style></office:automatic-styles>
<office:body><office:spreadsheet>
<table:table table:name="問題">
<table:table-row>
 <table:table-cell office:value-type="string"><text:p>問題文</text:p></table:table-cell>
 <table:table-cell office:value-type="string"><text:p>配点</text:p></table:table-cell>
</table:table-row>
<table:table-row>
 <table:table-cell office:value-type="string"><text:p>太字<text:span text:style-name="T1">強調</text:span> <text:span text:style-name="T1">です</text:span></text:p></table:table-cell>
 <table:table-cell office:value-type="float" office:value="3"/>
 <table:table-cell table:formula="of:=0.1+0.2" office:value-type="float" office:value="0.3"/>
 <table:table-cell table:formula="of:=&quot;a&quot;&amp;&quot;b&quot;" office:value-type="string" office:string-value="ab"/>
 <table:table-cell table:formula="of:=1/0" office:value-type="float" office:value="0"/>
</table:table-row>
<table:table-row>
 <table:table-cell office:value-type="string"><text:p>一行目</text:p><text:p>二行目</text:p></table:table-cell>
 <table:table-cell table:number-columns-repeated="2"/>
 <table:table-cell office:value-type="string"><text:p><text:ruby><text:ruby-base>漢字</text:ruby-base><text:ruby-text>かんじ</text:ruby-text></text:ruby>です</text:p></table:table-cell>
</table:table-row>
</table:table>
<table:table table:name="Sheet2"><table:table-row>
 <table:table-cell office:value-type="string"><text:p>second</text:p></table:table-cell>
</table:table-row></table:table>
</office:spreadsheet></office:body></office:document>
"""


def calc_workbook(path):
    with tempfile.TemporaryDirectory() as work:
        source = pathlib.Path(work) / "questions.fods"
        source.write_text(FODS, encoding="utf-8")
        subprocess.run(["libreoffice", "--headless", "--convert-to", "xlsx", "--outdir", work,
                        str(source)], check=True, capture_output=True)
        shutil.copyfile(source.with_suffix(".xlsx"), path)


# A whole set in the template's columns, as Calc saves a csv opened in it.
def whole_set_workbook(path):
    header = "ジャンル,問題文,選択肢1,選択肢2,選択肢3,選択肢4,選択肢5,正解,配点,解説文"
    lines = [header] + [
        f"分野{n % 5 + 1},\"問{n + 1}: 次のうち正しいものはどれか。\n（{n * 37 % 101} 行目）\","
        f"選択肢{n}a,選択肢{n}b,選択肢{n}c,{'選択肢' + str(n) + 'd' if n % 3 else ''},,"
        f"{n % 3 + 1},{n % 4 + 1},解説 {n * 7919 % 10007}" for n in range(256)]
    with tempfile.TemporaryDirectory() as work:
        source = pathlib.Path(work) / "whole-set.csv"
        source.write_text("\n".join(lines) + "\n", encoding="utf-8")
        subprocess.run(["libreoffice", "--headless", "--infilter=CSV:44,34,76", "--convert-to",
                        "xlsx", "--outdir", work, str(source)], check=True, capture_output=True)
        shutil.copyfile(source.with_suffix(".xlsx"), path)


# openpyxl writes inline strings, absolute targets and character references.
def openpyxl_workbook(path):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "問題"
    sheet.append(["問題文", "  両端に空白  ", 3, 2.5, True, "一行目\n二行目", "<&>\"'"])
    sheet["F4"] = "離れたセル"
    book.create_sheet("Sheet2")
    book.save(path)


def parts_of(path):
    with zipfile.ZipFile(path) as book:
        return [(info.filename, book.read(info)) for info in book.infolist()]


def write_zip(path, parts, method=zipfile.ZIP_DEFLATED):
    with zipfile.ZipFile(path, "w", method) as book:
        for name, data in parts:
            book.writestr(name, data)


def replaced(parts, name, edit):
    return [(n, edit(d) if n == name else d) for n, d in parts]


def swap(text, a, b):
    return text.replace(a, "\0").replace(b, a).replace("\0", b)


# What Excel writes where Calc writes otherwise: furigana as phonetic runs, a
# CR as _x000D_, a double's 17 digits, and the sheets in the order the tabs
# were moved to (the second file first). Rows and cells without r are what
# streaming writers leave out.
def excel_forms(parts):
    def strings(data):
        text = data.decode()
        text = text.replace(
            '<si><t xml:space="preserve">漢字です</t></si>',
            '<si><t>漢字です</t><rPh sb="0" eb="2"><t>カンジ</t></rPh>'
            '<phoneticPr fontId="1" type="noConversion"/></si>')
        text = text.replace("一行目&#10;二行目", "一行目_x000D_&#10;二行目_x005F_x000A_")
        return text.encode()

    def sheet(data):
        text = data.decode().replace("<v>0.3</v>", "<v>0.30000000000000004</v>")
        text = text.replace('t="n"><v>3</v>', 't="n"><v>2.9999999999999996</v>')
        text = text.replace('<row r="3"', "<row").replace('<c r="A3"', "<c")
        return text.replace('<c r="B2"', "<c").encode()

    def workbook(data):
        text = data.decode()
        return swap(text, 'name="問題" sheetId="1" state="visible" r:id="rId2"',
                    'name="Sheet2" sheetId="2" state="visible" r:id="rId3"').encode()

    parts = replaced(parts, STRINGS, strings)
    parts = replaced(parts, SHEET, sheet)
    return replaced(parts, "xl/workbook.xml", workbook)


# Sizes after the data and zip64 records, as streaming writers make them.
def write_streamed_zip64(path, parts):
    limit = zipfile.ZIP64_LIMIT
    zipfile.ZIP64_LIMIT = -1
    try:
        stream = io.BytesIO()
        stream.seekable = lambda: False
        with zipfile.ZipFile(stream, "w", zipfile.ZIP_DEFLATED) as book:
            for name, data in parts:
                with book.open(name, "w") as entry:
                    entry.write(data)
        path.write_bytes(stream.getvalue())
    finally:
        zipfile.ZIP64_LIMIT = limit


# An entry whose headers state `size` while its data inflate to more.
def state_size(path, name, size):
    data = bytearray(path.read_bytes())
    with zipfile.ZipFile(path) as book:
        struct.pack_into("<I", data, book.getinfo(name).header_offset + 22, size)
    central = data.find(b"PK\x01\x02")
    while data[central + 46:central + 46 + len(name)] != name.encode():
        central = data.find(b"PK\x01\x02", central + 1)
    struct.pack_into("<I", data, central + 24, size)
    path.write_bytes(bytes(data))


def main():
    DATA.mkdir(parents=True, exist_ok=True)
    SEEDS.mkdir(parents=True, exist_ok=True)
    calc = DATA / "workbook-calc.xlsx"
    calc_workbook(calc)
    plain = DATA / "workbook-openpyxl.xlsx"
    openpyxl_workbook(plain)
    excel = excel_forms(parts_of(calc))
    write_zip(DATA / "workbook-excel-forms.xlsx", excel)
    write_zip(DATA / "workbook-stored.xlsx", excel, zipfile.ZIP_STORED)
    shutil.copyfile(DATA / "workbook-stored.xlsx", SEEDS / "excel-forms-stored.xlsx")
    write_zip(SEEDS / "openpyxl-stored.xlsx", parts_of(plain), zipfile.ZIP_STORED)
    whole_set_workbook(SEEDS / "whole-set.xlsx")
    write_streamed_zip64(DATA / "workbook-zip64.xlsx", parts_of(plain))

    base = parts_of(plain)
    zeros = bytes(100 << 20)
    write_zip(DATA / "workbook-bomb.xlsx", replaced(base, SHEET, lambda _: zeros))
    write_zip(DATA / "workbook-ratio.xlsx", replaced(base, SHEET, lambda _: zeros[:8 << 20]))
    lying = DATA / "workbook-lying-size.xlsx"
    write_zip(lying, replaced(base, SHEET, lambda _: zeros[:8 << 20]))
    state_size(lying, SHEET, 1000)
    laughs = ('<?xml version="1.0"?><!DOCTYPE lolz [<!ENTITY lol "lol">'
              '<!ENTITY lol2 "&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;">]>'
              '<worksheet><sheetData><row><c t="inlineStr"><is><t>&lol2;</t></is></c></row>'
              '</sheetData></worksheet>')
    write_zip(DATA / "workbook-doctype.xlsx", replaced(base, SHEET, lambda _: laughs.encode()))
    far = "".join(f'<row r="{n}"><c r="A{n}" t="inlineStr"><is><t>x</t></is></c>'
                  f'<c r="XFD{n}" t="inlineStr"><is><t>y</t></is></c></row>' for n in range(1, 101))
    far = f"<worksheet><sheetData>{far}</sheetData></worksheet>"
    write_zip(DATA / "workbook-far-cells.xlsx", replaced(base, SHEET, lambda _: far.encode()))
    deep = "<worksheet><sheetData>" + "<row>" * 100000 + "</sheetData></worksheet>"
    write_zip(DATA / "workbook-deep.xlsx", replaced(base, SHEET, lambda _: deep.encode()))
    write_zip(DATA / "workbook-malformed.xlsx", replaced(base, SHEET, lambda d: d[:len(d) // 2]))


if __name__ == "__main__":
    main()
