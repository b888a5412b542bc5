;; Each line of the lint's output (the file named first) as compilation-mode
;; parses it with the recipe: file|line|column|type|text, one a line.
(set-language-environment "UTF-8")
(load-file "editors.el")  ; the recipe
(with-temp-buffer
  (insert-file-contents (car command-line-args-left))
  (compilation-mode)
  (compilation--ensure-parse (point-max))
  (while (not (eobp))
    (let* ((msg (get-text-property (point) 'compilation-message))
           (loc (and msg (compilation--message->loc msg)))
           (line (buffer-substring (point) (line-end-position))))
      (princ (if (null loc) (format "no match: %s\n" line)
               (format "%s|%d|%d|%s|%s\n" (caar (compilation--loc->file-struct loc)) (compilation--loc->line loc)
                       (compilation--loc->col loc) (string (aref "iwe" (compilation--message->type msg)))
                       (replace-regexp-in-string "\\`.*?: \\(error\\|warning\\): " "" line)))))
    (forward-line 1)))
