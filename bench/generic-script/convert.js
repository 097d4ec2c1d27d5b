// What a user would write on a generic Palm database library instead of our
// program: a car log exported to the same CSV, and such a CSV imported into
// a new database of the same records.  The benchmark measures the console
// driver against it; it is no part of the program.
//   node convert.js export DATABASE CSV
//   node convert.js import CSV DATABASE TEMPLATE-DATABASE
import fs from 'fs';
import {RawPdbDatabase, RawPdbRecord} from 'palm-pdb';
import {SBuffer} from 'serio';

const [mode, from, to, template] = process.argv.slice(2);
const text = (b, at) => b.toString('latin1', at, b.indexOf(0, at) < 0 ? b.length : b.indexOf(0, at));
const day = (v) => `${(v >> 5) & 15}/${v & 31}/${(v >> 9) + 1904}`;
// The import takes years before 1970 a century on, as the program does.
const packDay = (s) => { const [m, d, y] = s.split('/').map(Number); return ((y < 1970 ? y - 1804 : y - 1904) << 9) | (m << 5) | d; };
const quoted = (s) => '"' + s.replaceAll('\r', '').replaceAll('"', '""') + '"';

if (mode === 'export') {
  const db = RawPdbDatabase.from(fs.readFileSync(from));
  const car = db.records[0].data, labels = db.appInfo ? db.appInfo.value : Buffer.alloc(276);
  const rows = [['Date', `Mileage (${car[4] & 0x80 ? 'mi' : 'km'})`, `Price (${text(car, 6)})`,
    `Fill-up (${car[4] & 0x40 ? 'gal' : 'l'})`, 'Partial Fill-up/Missing Fill-up/Recurring Cost', 'Note', 'Category',
    'Recurring Cost End Date', 'Recurring Cost Interval (months)']];
  for (const record of db.records.slice(1)) {
    const d = record.data, flags = d[2], recurring = flags & 0x80, amount = d.readUInt32BE(12);
    const row = [day(d.readUInt16BE(0)), recurring ? '' : (d.readUInt32BE(4) / 10).toFixed(1),
      ((d.readUInt32BE(8) & 0x0FFFFFFF) * (flags & 0x10 ? -0.01 : 0.01)).toFixed(2),
      recurring ? '' : amount & 0x80000000 ? ((amount & 0x7FFFFFFF) * 0.001).toFixed(3) : (amount * 0.01).toFixed(2),
      flags & 0x40 ? 'p' : flags & 0x20 ? 'm' : recurring ? 'r' : '', text(d, 16),
      text(labels, 2 + 16 * record.entry.attributes.category)];
    if (recurring) row.push(d.readUInt16BE(12) === 0xFFFF ? '' : day(d.readUInt16BE(12)), String(d.readUInt16BE(14)));
    rows.push(row);
  }
  fs.writeFileSync(to, rows.map((row) => row.map(quoted).join(',') + '\r\n').join(''), 'latin1');
} else {
  const old = RawPdbDatabase.from(fs.readFileSync(template));
  const db = new RawPdbDatabase();
  Object.assign(db.header, {name: old.header.name, type: 'DATA', creator: 'RtLg'});
  db.header.attributes.backup = true;
  db.records.push(old.records[0]);
  const labels = [];
  const lines = fs.readFileSync(from, 'latin1').split('\r\n').slice(1, -1);
  for (const line of lines) {
    const c = [...line.matchAll(/"((?:[^"]|"")*)"(?:,|$)/g)].map((m) => m[1].replaceAll('""', '"'));
    const recurring = c[4] === 'r', note = Buffer.from(c[5] + '\0', 'latin1'), d = Buffer.alloc(16);
    d.writeUInt16BE(packDay(c[0]), 0);
    d[2] = (recurring ? 0x80 : 0) | (c[4] === 'p' ? 0x40 : 0) | (c[4] === 'm' ? 0x20 : 0) | (c[2][0] === '-' ? 0x10 : 0);
    d.writeUInt32BE(Math.round(Number(c[1]) * 10), 4);
    d.writeUInt32BE(Math.round(Math.abs(Number(c[2])) * 100), 8);
    if (recurring) d.writeUInt16BE(c[7] ? packDay(c[7]) : 0xFFFF, 12), d.writeUInt16BE(Number(c[8]), 14);
    else if (/\.\d\d\d$/.test(c[3])) d.writeUInt32BE((0x80000000 | Math.round(Number(c[3]) * 1000)) >>> 0, 12);
    else d.writeUInt32BE(Math.round(Number(c[3]) * 100), 12);
    const record = new RawPdbRecord();
    record.data = Buffer.concat([d, note]);
    if (!labels.includes(c[6])) labels.push(c[6]);
    record.entry.attributes.category = labels.indexOf(c[6]);
    db.records.push(record);
  }
  if (labels.length > 0) {
    db.appInfo = SBuffer.of(Buffer.alloc(276));
    labels.forEach((label, i) => { db.appInfo.value.write(label, 2 + 16 * i, 15, 'latin1'); db.appInfo.value[258 + i] = i + 1; });
    db.appInfo.value[274] = labels.length;
  }
  fs.writeFileSync(to, db.serialize());
}
