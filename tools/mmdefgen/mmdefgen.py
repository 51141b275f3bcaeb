#!/usr/bin/env python3
"""Writes the matchmaking definitions from their table.

  mmdefgen.py TABLE [--data DEFINITIONS.dat] [--header IDS.h]

--data: the toolbox record file: the 16-byte MD5 of the record list, its
length (32-bit little-endian) and the list XOR-scrambled with the digest.
The list is a 32-bit record count, then each record: 4-byte tag, 32-bit size
(payload + 8) and the payload, a typed byte stream ("MMFD" fields, "MMQY"
queries, "MMGP" game pages).
--header: the field, query and page ids as C++ constants for the online
front end.
"""
import argparse
import hashlib
import shlex
import struct
import sys

OX_INT32, OX_UINT32, OX_STRING, OX_BOOL, OX_FLEXIBLEVALUE = 6, 7, 10, 11, 13
KINDS = {'i32': 1, 'i64': 2, 'str': 7}


def u32(v):
    return bytes([OX_UINT32]) + struct.pack('<I', v)


def i32(v):
    return bytes([OX_INT32]) + struct.pack('<i', v)


def boolean(v):
    return bytes([OX_BOOL]) + struct.pack('<I', 1 if v else 0)


def string(text):
    data = text.encode('utf-8')
    stored = len(data) + 1 if data else 0
    return bytes([OX_STRING]) + u32(stored) + data + (b'\0' if data else b'')


def flexible(kind, value):
    head = bytes([OX_FLEXIBLEVALUE]) + u32(KINDS[kind])
    if kind == 'i32':
        return head + i32(int(value, 0))
    if kind == 'i64':
        return head + bytes([8]) + struct.pack('<q', int(value, 0))
    return head + string(value)


class TableError(Exception):
    pass


def parse(path):
    fields, queries, pages = [], [], []
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            words = shlex.split(line, comments=True)
            if not words:
                continue
            try:
                kind = words[0]
                if kind == 'field':
                    const, fid, name, vkind, mask, default = words[1:7]
                    values = words[7:]
                    if vkind not in KINDS or not values:
                        raise TableError('kind or values')
                    if not 0 <= int(default) < len(values):
                        raise TableError('default index outside the values')
                    fields.append(dict(const=const, id=int(fid, 0), name=name, kind=vkind,
                                       mask=int(mask, 0), default=int(default), values=values))
                elif kind == 'query':
                    const, qid, name, count = words[1:5]
                    reads = []
                    if len(words) > 5:
                        if words[5] != 'reads':
                            raise TableError('expected "reads"')
                        reads = [int(w, 0) for w in words[6:]]
                    queries.append(dict(const=const, id=int(qid, 0), name=name,
                                        count=int(count, 0), reads=reads, conditions=[]))
                elif kind == 'condition':
                    if not queries:
                        raise TableError('condition before any query')
                    attr, op, vkind, value = words[1:5]
                    if vkind not in KINDS or not 1 <= int(op) <= 6:
                        raise TableError('kind or operator')
                    queries[-1]['conditions'].append(
                        dict(attr=int(attr, 0), op=int(op), kind=vkind, value=value))
                elif kind == 'page':
                    const, pid, name = words[1:4]
                    pages.append(dict(const=const, id=int(pid, 0), name=name,
                                      fields=[int(w, 0) for w in words[4:]]))
                else:
                    raise TableError('unknown line kind ' + kind)
            except (ValueError, TableError) as e:
                raise SystemExit('%s:%d: %s' % (path, number, e))
    ids = [f['id'] for f in fields]
    if len(set(ids)) != len(ids):
        raise SystemExit('%s: two fields share an id' % path)
    for p in pages:
        for fid in p['fields']:
            if fid not in ids:
                raise SystemExit('%s: page %s names no field %#x' % (path, p['name'], fid))
    return fields, queries, pages


def field_record(f):
    out = string(f['name']) + i32(f['id']) + i32(0) + u32(f['mask']) + boolean(False)
    out += string('') + string('') + i32(0) + i32(0) + i32(0) + i32(f['default'])
    out += u32(len(f['values']))
    for n, value in enumerate(f['values']):
        out += i32(n) + flexible('str', value) + flexible(f['kind'], value)
    return b'MMFD', out


def query_record(q):
    out = i32(q['id']) + u32(q['count']) + string(q['name']) + u32(len(q['conditions']))
    for c in q['conditions']:
        out += i32(c['attr']) + i32(c['op']) + string('') + flexible(c['kind'], c['value'])
        out += boolean(False) + u32(0xFFFFFFFF)
    out += u32(len(q['reads'])) + b''.join(i32(r) for r in q['reads'])
    return b'MMQY', out


def page_record(p):
    out = i32(p['id']) + string(p['name']) + u32(len(p['fields']))
    return b'MMGP', out + b''.join(i32(f) for f in p['fields'])


def record_file(records):
    body = struct.pack('<I', len(records))
    for tag, payload in records:
        body += tag + struct.pack('<I', len(payload) + 8) + payload
    digest = hashlib.md5(body).digest()
    scrambled = bytes(b ^ digest[(i % 32) // 2] for i, b in enumerate(body))
    return digest + struct.pack('<I', len(body)) + scrambled


def header(fields, queries, pages, table):
    lines = ['#pragma once',
             '// Written by tools/mmdefgen/mmdefgen.py from %s; do not edit.' % table,
             '// The matchmaking ids the online front end uses.',
             '#include <cstdint>', '', 'namespace online {', 'namespace mm {', '']
    for f in fields:
        lines.append('constexpr std::int32_t kField%s = %#010x;  // "%s"'
                     % (f['const'], f['id'], f['name']))
    lines.append('')
    for q in queries:
        lines.append('constexpr std::int32_t kQuery%s = %d;' % (q['const'], q['id']))
    for p in pages:
        lines.append('constexpr std::int32_t kPage%s = %d;' % (p['const'], p['id']))
    lines += ['', '}  // namespace mm', '}  // namespace online', '']
    return '\n'.join(lines)


def write_if_changed(path, data):
    try:
        with open(path, 'rb') as f:
            if f.read() == data:
                return
    except OSError:
        pass
    with open(path, 'wb') as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('table')
    parser.add_argument('--data')
    parser.add_argument('--header')
    args = parser.parse_args()
    fields, queries, pages = parse(args.table)
    if args.data:
        records = [field_record(f) for f in fields] + [query_record(q) for q in queries]
        records += [page_record(p) for p in pages]
        write_if_changed(args.data, record_file(records))
    if args.header:
        name = args.table.replace('\\', '/').split('/')[-1]
        write_if_changed(args.header, header(fields, queries, pages, name).encode())
    return 0


if __name__ == '__main__':
    sys.exit(main())
