// The task's problem matcher over the lint's output, as VS Code applies it.
const fs = require("fs");
const task = JSON.parse(fs.readFileSync(process.argv[2], "utf8")).tasks[0];
const p = task.problemMatcher.pattern, re = new RegExp(p.regexp);
for (const line of fs.readFileSync(0, "utf8").split(/\r?\n/).slice(0, -1)) {
  const m = re.exec(line);
  console.log(m ? [m[p.file], m[p.line], m[p.column], m[p.severity], m[p.message] + " [" + m[p.code] + "]"].join("|") : "no match: " + line);
}
