// SPDX-License-Identifier: GPL-3.0-or-later
// Dumps every user table of an Access file through mdb-reader, as JSON lines, for AccessDatabaseTest.
//
// Usage: node mdb_reader_dump.mjs NODE_MODULES_DIR FILE.mdb
// One line per table, {"table", "columns": [{"name", "type", "precision"?, "scale"?}], "rows": [[...]]},
// each value as mdb-reader gives it, made unambiguous: binary values as lowercase hex, dates as
// milliseconds since 1970 (mdb-reader's own rounding), everything else as the reader's JSON value.
import { readFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";

const [nodeModules, file] = process.argv.slice(2);
if (!nodeModules || !file) {
    process.stderr.write("usage: node mdb_reader_dump.mjs NODE_MODULES_DIR FILE.mdb\n");
    process.exit(2);
}
// Resolved from the given folder, so that the script needs no node_modules beside it.
const require = createRequire(path.join(path.resolve(nodeModules), "mdb-reader-dump.cjs"));
const { default: MDBReader } = await import(require.resolve("mdb-reader"));

function plain(value) {
    if (value === null || value === undefined) return null;
    if (Buffer.isBuffer(value)) return value.toString("hex");
    if (value instanceof Date) return value.getTime();
    if (typeof value === "bigint") return value.toString();
    return value;
}

const reader = new MDBReader(readFileSync(file));
for (const name of reader.getTableNames()) {
    const table = reader.getTable(name);
    const columns = table.getColumns().map((c) => ({
        name: c.name,
        type: c.type,
        ...(c.type === "numeric" ? { precision: c.precision, scale: c.scale } : {}),
    }));
    const rows = table.getData().map((row) => columns.map((c) => plain(row[c.name])));
    process.stdout.write(JSON.stringify({ table: name, columns, rows }) + "\n");
}
