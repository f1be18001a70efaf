// SPDX-License-Identifier: GPL-3.0-or-later
// Runs js/fcmSerieADati.js as a page would and prints the start-time array it defines:
// "length <n> alias <bool> zero <bool>", then "<n> <year> <month> <day> <hour> <minute> <second>" per date.
const fs = require('fs');
const vm = require('vm');

const bytes = fs.readFileSync(process.argv[2]);
const has = (...prefix) => prefix.every((b, i) => bytes[i] === b);
const encoding = has(0xff, 0xfe) ? 'utf-16le' : has(0xfe, 0xff) ? 'utf-16be' : has(0xef, 0xbb, 0xbf) ? 'utf-8' : 'windows-1252';
const context = vm.createContext({});
vm.runInContext(new TextDecoder(encoding).decode(bytes), context);
const a = vm.runInContext('arrDateA', context);
console.log(`length ${a.length} alias ${vm.runInContext('a === arrDateA', context)} zero ${a[0] === undefined}`);
for (let n = 1; n < a.length; n++) {
  const d = a[n];
  if (Object.prototype.toString.call(d) !== '[object Date]' || isNaN(d)) {
    console.log(`${n} not-a-date`);
    continue;
  }
  console.log([n, d.getFullYear(), d.getMonth() + 1, d.getDate(), d.getHours(), d.getMinutes(), d.getSeconds()].join(' '));
}
